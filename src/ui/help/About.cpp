#include "ui/help/About.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/common/Glyphs.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle(QString::fromUtf8("O programu"));
    setProperty("HelpContext", 290);
    // Modal to the main window only, so the help window it may open stays usable.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(SplashPicture(200, 89));
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    auto* text = new QLabel(this);
    text->setObjectName("AboutText");
    text->setText(QString::fromUtf8("<b>KORVAN - B 2D</b><br>Verze %1 (2003)<br><br>"
                                    "Lineární statika rovinných rámů deformační metodou:<br>"
                                    "pruty, podpory, klouby, zatížení a vlastní tíha;<br>"
                                    "reakce, průběhy M, N, T a deformace, výpis a protokol.<br><br>"
                                    "<a href=\"https://korvan.example.org\">korvan.example.org</a><br>"
                                    "Nápovědu otevřete klávesou F1.")
                      .arg(KORVAN_VERSION));
    text->setTextFormat(Qt::RichText);
    text->setOpenExternalLinks(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
