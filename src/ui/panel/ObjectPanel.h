#pragma once
// The object panel: a dock with the three pages "Prut" (current member and its loads), "Uzel"
// (current node and its loads) and "Profil" (current section and material) in the notebook
// Notebook1 under the tab bar FlatTabControl1. It holds no model state of its own: the display
// routines read the model space of the host, the commands edit it and tell the host afterwards.
// Buttons that run main-window commands are created here with their objectName and hint; the main
// window asks for them by that name (PanelButton) and connects them.
#include <QDockWidget>
#include <QString>
#include <map>
#include <string>

#include "ui/panel/ObjectPanelWidgets.h"

class QComboBox;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;
class TPanelHost;

class TObjectPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit TObjectPanel(TPanelHost& host, QWidget* parent = nullptr);
    ~TObjectPanel() override;

    // Display routines. Each of the first four brings its page to the front first.
    void VypisHodnotyPrutu();
    void VypisHodnotyUzlu();
    void VypisHodnotyProfilu();
    void VypisHodnotyMaterialu();
    // Current member load / current nodal load; the page in front does not change.
    void VypisHodnotyZatizeniP();
    void VypisHodnotyZatizeniU();
    // Both "Koeficient:" labels from the factor of the self-weight load case.
    void VypisHodnotyZatezovacihoStavu();
    // The two end-connection circles of the member page.
    void ulozenitoshape();
    // The auxiliary member (first entry of SelectedMembers) in lCPomPr and lCPomPr1; empty
    // labels when nothing is selected. The main window calls it after it changes the selection.
    void VypisPomocnyPrut();

    // Pages: 0 "Prut", 1 "Uzel", 2 "Profil".
    void SetMenuIndex(int index);
    int MenuIndex() const;
    // "Prut" -> "Uzel" -> "Profil" -> "Prut" (the space key).
    void NextPage();

    // Refill the combo boxes from the model (nothing happens for an empty list).
    void cbProfilyRefresh();
    void cbMaterialyRefresh();
    // The section (material) box refilled with the names of the model's sections (materials) in
    // their order, and nothing else: every refill of the two boxes goes through these.
    void RefillSectionNames();
    void RefillMaterialNames();
    // cbMaterialyRefresh, then cbProfilyRefresh (after a project was read).
    void RefillSectionAndMaterialLists();
    // After unused objects were deleted: both combo boxes refilled from the model (an empty list
    // leaves an empty box), each on its current entry, then the material and section displays.
    void RefreshListsKeepingCurrent();

    QComboBox* cbProfily() const;
    // A button of the panel by its objectName (sbCompute, SpeedButton8, ...); null for none.
    QToolButton* PanelButton(const char* name) const;
    QComboBox* cbMaterialy() const;
    // Support kinds; their actions carry the kind index (0..5) as data.
    QMenu* PopupMenu1() const;
    // Assign the current node to end "a" / "b" of the current member.
    QMenu* PopupMenu2() const;

public slots:
    // Commands that the main menu offers too.
    // Support kind 0 "(žádná)", 1 "Vetknutí", 2 "Kloub", 3 "Pos. kloub (u)", 4 "Pos. kloub (w)",
    // 5 "Pos. vetknutí" for the current node.
    void NastavPodporu(int kind);
    void SpeedButton2Click(); // turn the section of the current member
    void SpeedButton1Click(); // swap the ends of the current member
    void sbDelPrut1Click();   // delete the current member after the question "Smazat prut?"
    void AssCrSToAll();
    void AssCrSToSel();
    void sbDelNUCrsClick(); // delete unused sections
    void sbDelNUMatClick(); // delete unused materials
    // Choosing a name in the section / material combo box.
    void cbProfilyChange(const QString& name);
    void cbMaterialyChange(const QString& name);

    // Commands of the member page.
    void shPripojeni1Click();
    void shPripojeni2Click();
    void shUzel1Click();
    void shUzel2Click();
    void Shape3Click();
    void sbCopyPrClick();
    void sbPastePrClick();
    void sbSAPrClick();
    void sbGAPrClick();
    void PriraditUzluA();
    void PriraditUzluB();
    void SpinButton2UpClick();
    void SpinButton2DownClick();
    // Commands of the node page.
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    // Delete the current load of the current member (node) ("Smazat zatížení ...").
    void sbDelLPClick();
    void sbDelLUClick();
    // The section and material lists (and their fields) take typed characters themselves: the
    // character's command, then a refresh of their page. The window's key preview leaves them.
    bool HasOwnKeyHandler(const QObject* widget) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMemberPage(QWidget* page);
    void BuildNodePage(QWidget* page);
    void BuildSectionPage(QWidget* page);
    void ToggleHinge(bool endA);
    void AssignNode(bool endA);
    void ModelChanged();
    // The widgets the panel builds, each kept under its name as it is made.
    QLabel* Value(QWidget* page, const char* name, int x, int y, int w, const QString& hint = {});
    QToolButton* Button(QWidget* page, const char* name, const QString& hint, const QString& glyph, int x, int y,
                        bool enabled = true);
    TPanelShape* Shape(QWidget* page, const char* name, TPanelShape::TKind kind, const QRect& r,
                       const QString& hint = {});
    QLabel* Label(const char* name) const;
    void SetText(const char* name, const std::string& text) const;
    void ShowLoadCase(const char* name, const std::string& text);

    TPanelHost& mHost;
    QTabBar* mTabs = nullptr;
    QStackedWidget* mNotebook = nullptr;
    QMenu* mPopupMenu1 = nullptr;
    QMenu* mPopupMenu2 = nullptr;
    QComboBox* mProfily = nullptr;
    QComboBox* mMaterialy = nullptr;
    std::map<std::string, QLabel*, std::less<>> mValues;
    std::map<std::string, QToolButton*, std::less<>> mButtons;
    std::map<std::string, TPanelShape*, std::less<>> mShapes;
};
