#include "ui/dialogs/ZatizeniDialog1.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <cmath>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The explanatory pictures: the dimensions A, C, B and q1, q2 of a member load, and one picture
// per input method.
class TLoadPicture : public QWidget {
public:
    enum TKind { Dimensions, Global, Local, Projection };
    TLoadPicture(TKind kind, QWidget* parent) : QWidget(parent), mKind(kind) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        QFont f = font();
        f.setPointSize(7);
        p.setFont(f);
        if (mKind == Dimensions)
            PaintDimensions(p);
        else
            PaintMethod(p);
    }

private:
    static void Arrow(QPainter& p, QPointF from, QPointF to) {
        p.drawLine(from, to);
        const QPointF d = from - to;
        const qreal len = std::hypot(d.x(), d.y());
        if (len <= 0) return;
        const QPointF u = d / len * 5.0;
        const QPointF n(-u.y() * 0.5, u.x() * 0.5);
        QPainterPath head;
        head.moveTo(to);
        head.lineTo(to + u + n);
        head.lineTo(to + u - n);
        head.closeSubpath();
        p.fillPath(head, p.pen().color());
    }

    static void Node(QPainter& p, QPointF at, const QString& name) {
        p.setBrush(Qt::white);
        p.drawEllipse(at, 3.0, 3.0);
        p.setBrush(Qt::NoBrush);
        p.drawText(QRectF(at.x() - 10, at.y() + 3, 20, 12), Qt::AlignCenter, name);
    }

    void PaintDimensions(QPainter& p) {
        const qreal x0 = 24, x1 = width() - 24, y = height() * 0.55;
        const qreal xa = x0 + 0.28 * (x1 - x0), xc = x0 + 0.74 * (x1 - x0);
        const qreal h1 = 10, h2 = 22;
        p.setPen(QPen(QColor(0, 0, 160), 1));
        QPolygonF load(
            {QPointF(xa, y - 3), QPointF(xa, y - 3 - h1), QPointF(xc, y - 3 - h2), QPointF(xc, y - 3)});
        p.setBrush(QColor(210, 220, 255));
        p.drawPolygon(load);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i <= 6; ++i) {
            const qreal x = xa + (xc - xa) * i / 6.0;
            const qreal top = y - 3 - (h1 + (h2 - h1) * i / 6.0);
            Arrow(p, QPointF(x, top), QPointF(x, y - 3));
        }
        p.drawText(QRectF(xa - 22, y - 3 - h1 - 6, 20, 12), Qt::AlignRight | Qt::AlignVCenter, "q1");
        p.drawText(QRectF(xc + 3, y - 3 - h2 - 6, 20, 12), Qt::AlignLeft | Qt::AlignVCenter, "q2");
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
        p.setPen(QPen(Qt::black, 1));
        Node(p, QPointF(x0, y), "a");
        Node(p, QPointF(x1, y), "b");
        const qreal yd = height() - 9;
        p.setPen(QColor(90, 90, 90));
        p.drawLine(QPointF(x0, yd), QPointF(x1, yd));
        for (qreal x : {x0, xa, xc, x1})
            p.drawLine(QPointF(x, yd - 4), QPointF(x, yd + 4));
        p.setPen(Qt::black);
        const QString names[3] = {"A", "C", "B"};
        const qreal xs[4] = {x0, xa, xc, x1};
        for (int i = 0; i < 3; ++i)
            p.drawText(QRectF(xs[i], yd - 13, xs[i + 1] - xs[i], 11), Qt::AlignCenter, names[i]);
    }

    void PaintMethod(QPainter& p) {
        // A member rising to the right, the load and what its intensity is measured along.
        const QPointF a(16, height() - 16), b(width() - 16, 22);
        const QPointF axis = b - a;
        const qreal length = std::hypot(axis.x(), axis.y());
        const QPointF t = axis / length;
        const QPointF n(t.y(), -t.x()); // the member's upper side
        p.setPen(QPen(QColor(0, 0, 160), 1));
        const int arrows = 6;
        for (int i = 0; i <= arrows; ++i) {
            const QPointF at = a + axis * (0.1 + 0.8 * i / arrows);
            if (mKind == Local)
                Arrow(p, at + n * 14, at + n * 2);
            else
                Arrow(p, at + QPointF(0, -16), at + QPointF(0, -2));
        }
        const QPointF s = a + axis * 0.1, e = a + axis * 0.9;
        if (mKind == Local)
            p.drawLine(s + n * 14, e + n * 14);
        else
            p.drawLine(s + QPointF(0, -16), e + QPointF(0, -16));
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(a, b);
        p.setPen(QPen(Qt::black, 1));
        Node(p, a, "a");
        Node(p, b, "b");
        // What the intensity is per: the member length, or its horizontal projection.
        p.setPen(QColor(200, 0, 0));
        if (mKind == Projection) {
            const qreal yd = height() - 5;
            p.drawLine(QPointF(s.x(), yd), QPointF(e.x(), yd));
            p.drawLine(QPointF(s.x(), yd - 3), QPointF(s.x(), yd + 3));
            p.drawLine(QPointF(e.x(), yd - 3), QPointF(e.x(), yd + 3));
        } else {
            const QPointF off = -n * 7;
            p.drawLine(s + off, e + off);
            p.drawLine(s + off - n * 3, s + off + n * 3);
            p.drawLine(e + off - n * 3, e + off + n * 3);
        }
        // The angle: from the global x axis, or from the member's axis.
        p.setPen(QColor(0, 120, 0));
        const QPointF o(width() - 46, height() - 18);
        if (mKind == Local) {
            Arrow(p, o, o + t * 24);
            p.drawText(QRectF(o.x() + 6, o.y() - 2, 40, 12), Qt::AlignLeft, U("lok. x"));
        } else {
            Arrow(p, o, o + QPointF(24, 0));
            p.drawText(QRectF(o.x() + 6, o.y() + 1, 40, 12), Qt::AlignLeft, "X");
        }
    }

    TKind mKind;
};

QLineEdit* Field(QWidget* parent, const char* name, int x, int y) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, 64, 22);
    return e;
}

QLabel* FieldLabel(QWidget* parent, const char* name, const char* text, int x, int y, int w) {
    auto* l = new QLabel(U(text), parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, 22);
    return l;
}

} // namespace

TForm5::TForm5(TMKPSpace& space, QString& tool, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mSpace(space),
      mTool(tool) {
    setObjectName("Form5");
    setWindowTitle(U("Zatížení"));
    setModal(false);
    setProperty("HelpContext", 250);
    setFixedSize(472, 348);

    auto* types = new QGroupBox(U("Typ zatížení"), this);
    types->setObjectName("rgZatTyp");
    types->setGeometry(8, 6, 136, 96);
    mType = new QButtonGroup(this);
    const char* typeNames[3] = {"Os.síla (P)", "Moment (M)", "Spojité (q1,q2)"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(U(typeNames[i]), types);
        r->setObjectName(QString("rgZatTyp%1").arg(i));
        r->setGeometry(10, 20 + 24 * i, 120, 22);
        mType->addButton(r, i);
    }
    mType->button(KTypeForce)->setChecked(true);
    connect(mType, &QButtonGroup::idClicked, this, &TForm5::rgZatTypClick);

    FieldLabel(this, "lZatQb", "P/ M/ q1", 156, 12, 70);
    mValue = Field(this, "eZatQb", 228, 12);
    mEndValueLabel = FieldLabel(this, "lZatQe", "q2", 298, 12, 18);
    mEndValue = Field(this, "eZatQe", 316, 12);
    mAngleLabel = FieldLabel(this, "lZatUhel", "Orientace:", 156, 42, 70);
    mAngle = Field(this, "eZatUhel", 228, 42);
    mAngle->setText("90");
    mALabel = FieldLabel(this, "lZatA", "A", 156, 72, 70);
    mA = Field(this, "eZatA", 228, 72);
    mCLabel = FieldLabel(this, "lZatC", "C", 298, 72, 18);
    mC = Field(this, "eZatC", 316, 72);
    mBLabel = FieldLabel(this, "lZatB", "B", 386, 72, 14);
    mB = Field(this, "eZatB", 400, 72);
    mB->setEnabled(false);
    mUnits = FieldLabel(this, "lZatJednotky", "", 298, 42, 166);
    mUnits->setStyleSheet("color: #404080");

    auto* dims = new TLoadPicture(TLoadPicture::Dimensions, this);
    dims->setObjectName("ImageRozmery");
    dims->setGeometry(8, 108, 456, 72);

    auto* methods = new QGroupBox(U("Způsob zadání"), this);
    methods->setObjectName("rgZatOrientace");
    methods->setGeometry(8, 186, 456, 120);
    mMethod = new QButtonGroup(this);
    // The items' texts end in an arrow that points at their pictures.
    const char* methodNames[3] = {"glob. / délka    =>", "lok. / délka      =>", "glob. / průmět  =>"};
    const TLoadPicture::TKind pictures[3] = {TLoadPicture::Global, TLoadPicture::Local,
                                             TLoadPicture::Projection};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(U(methodNames[i]), methods);
        r->setObjectName(QString("rgZatOrientace%1").arg(i));
        r->setGeometry(8 + 148 * i, 18, 140, 22);
        mMethod->addButton(r, i);
        auto* picture = new TLoadPicture(pictures[i], methods);
        picture->setObjectName(QString("ImageZpusob%1").arg(i));
        picture->setGeometry(8 + 148 * i, 42, 140, 70);
    }
    mMethod->button(KMethodGlobal)->setChecked(true);

    auto* ok = new QToolButton(this);
    ok->setObjectName("SpeedButton2");
    ok->setText("OK");
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ok->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ok->setGeometry(300, 314, 78, 26);
    connect(ok, &QToolButton::clicked, this, &TForm5::SpeedButton2Click);
    auto* cancel = new QToolButton(this);
    cancel->setObjectName("SpeedButton1");
    cancel->setText(U("Storno"));
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    cancel->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    cancel->setGeometry(386, 314, 78, 26);
    connect(cancel, &QToolButton::clicked, this, &TForm5::SpeedButton1Click);

    // The case of the load, beside the buttons; a model without cases shows nothing of it.
    mCaseLabel = FieldLabel(this, "lZatStav", "Zatěžovací stav:", 8, 316, 100);
    mCase = new QComboBox(this);
    mCase->setObjectName("cbZatStav");
    mCase->setGeometry(110, 316, 180, 22);
    RefreshCases();

    ShowFields();
}

void TForm5::RefreshCases(const std::string& chosen) {
    const QString keep = chosen.empty() ? mCase->currentText() : QString::fromStdString(chosen);
    mCase->clear();
    for (const std::string& name : LoadCaseNames(mSpace))
        mCase->addItem(QString::fromStdString(name));
    const int at = mCase->findText(keep);
    if (at >= 0) {
        mCase->setCurrentIndex(at);
    } else if (!chosen.empty() && mCase->count() > 0) {
        // A load of a case that is not offered (the self-weight case) keeps it.
        mCase->addItem(keep);
        mCase->setCurrentIndex(mCase->count() - 1);
    }
    const bool cases = !mSpace.LoadCases.Empty();
    mCaseLabel->setVisible(cases);
    mCase->setVisible(cases);
}

void TForm5::FormZatizeni(const QString& sender) {
    mTool = sender;
    mEdit.reset();
    mTarget = sender == "sbAddLU" ? TLoadTarget::Node : TLoadTarget::Member;
    setWindowTitle(U(LoadDialogCaption(mTarget)));
    SetType(TypeOnOpening(mTarget, mType->checkedId()));
    ShowAndFocus();
}

bool TForm5::UpravZatizeni(const QString& sender, const TLoadEdit& edit) {
    if (!edit.Load) return false;
    if (edit.Load->Kind == KLoadSelfWeight) {
        Dialogs().Inform(KSelfWeightNotEditable);
        return false;
    }
    mTool = sender;
    mEdit = edit;
    mTarget = edit.Target;
    setWindowTitle(U(LoadEditCaption(mTarget)));
    TLoadFields fields = LoadFieldsOf(edit, Fields(), mSpace.UnitSystem == 1);
    fields.Case = LoadCaseName(mSpace, *edit.Load);
    RefreshCases(fields.Case);
    SetFields(fields);
    ShowAndFocus();
    return true;
}

// The value is what one types first: the focus goes to it with its text selected, whichever field
// had it when the dialog was closed.
void TForm5::ShowAndFocus() {
    if (!isVisible())
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    mValue->setFocus(Qt::OtherFocusReason);
    mValue->selectAll();
}

void TForm5::rgZatTypClick(int type) {
    SetType(TypeOnChoice(mTarget, type));
}

void TForm5::SetType(int type) {
    if (QAbstractButton* b = mType->button(type)) b->setChecked(true);
    ShowFields();
}

void TForm5::ShowFields() {
    const TLoadFieldsShown s = ShownLoadFields(mTarget, mType->checkedId());
    auto show = [](QWidget* field, QWidget* label, bool on) {
        field->setVisible(on);
        label->setVisible(on);
    };
    show(mEndValue, mEndValueLabel, s.EndValue);
    show(mAngle, mAngleLabel, s.Angle);
    show(mA, mALabel, s.A);
    show(mC, mCLabel, s.C);
    show(mB, mBLabel, s.B);
    const std::string units = LoadUnitHint(mTarget, mType->checkedId(), mSpace.UnitSystem == 1);
    mUnits->setText(QString::fromStdString(units));
    mUnits->setVisible(!units.empty());
}

TLoadFields TForm5::Fields() const {
    TLoadFields f;
    f.Type = mType->checkedId();
    f.Method = mMethod->checkedId();
    f.Value = mValue->text().toStdString();
    f.EndValue = mEndValue->text().toStdString();
    f.Angle = mAngle->text().toStdString();
    f.A = mA->text().toStdString();
    f.C = mC->text().toStdString();
    if (!mSpace.LoadCases.Empty()) f.Case = mCase->currentText().toStdString();
    return f;
}

void TForm5::SetFields(const TLoadFields& f) {
    if (QAbstractButton* b = mType->button(f.Type)) b->setChecked(true);
    if (QAbstractButton* b = mMethod->button(f.Method)) b->setChecked(true);
    mValue->setText(QString::fromStdString(f.Value));
    mEndValue->setText(QString::fromStdString(f.EndValue));
    mAngle->setText(QString::fromStdString(f.Angle));
    mA->setText(QString::fromStdString(f.A));
    mC->setText(QString::fromStdString(f.C));
    if (!f.Case.empty()) {
        const int at = mCase->findText(QString::fromStdString(f.Case));
        if (at >= 0) mCase->setCurrentIndex(at);
    }
    ShowFields();
}

void TForm5::SpeedButton2Click() {
    // The dialog acts only for the tool that opened it last; after another input dialog was
    // opened in between, OK just closes it.
    const bool editing = mEdit && (mTool == "sbEditLP" || mTool == "sbEditLU");
    const bool member = editing ? mEdit->Target == TLoadTarget::Member : mTool == "sbAddLP";
    if (!editing && !member && mTool != "sbAddLU") {
        hide();
        return;
    }
    TLoadFields fields = Fields();
    const TConfirmResult result = editing  ? ConfirmLoadEdit(mSpace, *mEdit, fields)
                                  : member ? ConfirmMemberLoad(mSpace, fields, DecimalSeparator())
                                           : ConfirmNodeLoad(mSpace, fields);
    if (result != TConfirmResult::NoTarget) SetFields(fields);
    // An edit is done once it is applied or refused for good; the next OK does not repeat it.
    if (result == TConfirmResult::Added || result == TConfirmResult::Close) mEdit.reset();
    switch (result) {
    case TConfirmResult::Added:
        emit LoadAdded(member);
        hide();
        break;
    case TConfirmResult::StayOpen:
        break;
    case TConfirmResult::Close:
    case TConfirmResult::NoTarget:
        hide();
        break;
    }
}

void TForm5::SpeedButton1Click() {
    hide();
}

void TForm5::reject() {
    SpeedButton1Click();
}

void TForm5::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        SpeedButton2Click();
        return;
    case Qt::Key_Escape:
        SpeedButton1Click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
