#include "ui/panel/ObjectPanel.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanelLogic.h"
#include "ui/panel/ObjectPanelWidgets.h"
#include "ui/panel/PanelHost.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

QComboBox* TObjectPanel::cbProfily() const {
    return mProfily;
}
QComboBox* TObjectPanel::cbMaterialy() const {
    return mMaterialy;
}
QMenu* TObjectPanel::PopupMenu1() const {
    return mPopupMenu1;
}
QMenu* TObjectPanel::PopupMenu2() const {
    return mPopupMenu2;
}

QLabel* TObjectPanel::Label(const char* name) const {
    const auto it = mValues.find(name);
    Q_ASSERT(it != mValues.end());
    return it->second;
}

QToolButton* TObjectPanel::PanelButton(const char* name) const {
    const auto it = mButtons.find(name);
    return it == mButtons.end() ? nullptr : it->second;
}

void TObjectPanel::SetText(const char* name, const std::string& text) const {
    Label(name)->setText(Q(text));
}

void TObjectPanel::SetMenuIndex(int index) {
    if (index < 0 || index >= mNotebook->count()) return;
    mTabs->setCurrentIndex(index);
    mNotebook->setCurrentIndex(index);
}

int TObjectPanel::MenuIndex() const {
    return mNotebook->currentIndex();
}

void TObjectPanel::NextPage() {
    SetMenuIndex((MenuIndex() + 1) % mNotebook->count());
}

// ---- Display routines ---------------------------------------------------------------------

void TObjectPanel::VypisHodnotyPrutu() {
    SetMenuIndex(0);
    TMemberTexts t = MemberTexts(mHost.Space());
    SetText("lCisloP", t.Number);
    SetText("lCisloU1", t.NodeA);
    SetText("lCisloU2", t.NodeB);
    SetText("lPrP", t.Section);
    SetText("lDelkaP", t.Length);
    SetText("lUhelP", t.Angle);
    SetText("lSinP", t.Sin);
    SetText("lCosP", t.Cos);
    SetText("lPrRP", t.SectionTurn);
    SetText("lDeleni", t.Divisions);
    ulozenitoshape();
    VypisHodnotyZatizeniP();
}

void TObjectPanel::ulozenitoshape() {
    const TPrut* m = mHost.Space().CurrentMember;
    // A hinge is a white circle with a black outline; a fixed end shows nothing.
    auto show = [](TPanelShape* s, bool hinge) {
        s->SetBrush(Qt::white, !hinge);
        s->SetPen(hinge);
    };
    show(mShapes.at("shPripojeni1"), m && m->HingeA);
    show(mShapes.at("shPripojeni2"), m && m->HingeB);
}

void TObjectPanel::VypisHodnotyZatizeniP() {
    TMemberLoadTexts t = MemberLoadTexts(mHost.Space());
    SetText("lZatPVelikost", t.Magnitude);
    SetText("lZatPPoloha", t.Position);
    SetText("lZatPTyp", t.Type);
    SetText("lZatPUhel", t.Direction);
    SetText("lZatPCounter", t.Counter);
    if (t.HasFactor) SetText("lZSSoucinitelP", t.Factor);
    ShowLoadCase("lZatPStav", t.Case);
}

// The case row of a load page shows in a model with cases only.
void TObjectPanel::ShowLoadCase(const char* name, const std::string& text) {
    const bool cases = !mHost.Space().LoadCases.Empty();
    SetText(name, text);
    Label(name)->setVisible(cases);
    Label((std::string(name) + "Caption").c_str())->setVisible(cases);
}

void TObjectPanel::VypisHodnotyUzlu() {
    SetMenuIndex(1);
    TNodeTexts t = NodeTexts(mHost.Space());
    SetText("lCisloU", t.Number);
    SetText("lCPomUz", t.Number);
    SetText("lSouradniceU", t.Coordinates);
    SetText("Podporalbl", t.Support);
    SetText("NatPodplbl", t.SupportAngle);
    VypisHodnotyZatizeniU();
}

void TObjectPanel::VypisHodnotyZatizeniU() {
    TNodeLoadTexts t = NodeLoadTexts(mHost.Space());
    SetText("lZatUVelikost", t.Magnitude);
    SetText("lZatUTyp", t.Type);
    SetText("lZatUUhel", t.Direction);
    SetText("lZatUCounter", t.Counter);
    ShowLoadCase("lZatUStav", t.Case);
}

void TObjectPanel::VypisHodnotyProfilu() {
    SetMenuIndex(2);
    TMKPSpace& space = mHost.Space();
    TSectionTexts t = SectionTexts(space);
    SetText("lAPr", t.Area);
    SetText("lIyPr", t.Iy);
    SetText("lIzPr", t.Iz);
    SetText("lmPr", t.Mass);
    mProfily->setEditText(Q(t.Name));
    // Without a current section the material labels are refreshed too, so that they never show a
    // material that is gone (after a new project, a cancelled or failed open).
    if (space.CurrentSection) space.CurrentMaterial = space.CurrentSection->Material;
    VypisHodnotyMaterialu();
}

void TObjectPanel::VypisHodnotyMaterialu() {
    SetMenuIndex(2);
    TMaterialTexts t = MaterialTexts(mHost.Space());
    SetText("lEMat", t.E);
    SetText("lDMat", t.Density);
    mMaterialy->setEditText(Q(t.Name));
}

void TObjectPanel::VypisHodnotyZatezovacihoStavu() {
    std::string f = LoadCaseFactorText(mHost.Space());
    SetText("lZSSoucinitelP", f);
    SetText("lZSSoucinitelU", f);
}

void TObjectPanel::VypisPomocnyPrut() {
    std::string n = AuxiliaryMemberText(mHost.Space());
    SetText("lCPomPr", n);
    SetText("lCPomPr1", n);
}

// ---- Combo boxes --------------------------------------------------------------------------

namespace {
template <class TList>
QStringList NamesOf(const TList& list) {
    QStringList names;
    for (const auto* object : list)
        names << Q(object->Name);
    return names;
}

void Refill(QComboBox* box, const QStringList& names) {
    box->clear();
    box->addItems(names);
}
} // namespace

void TObjectPanel::RefillSectionNames() {
    Refill(mProfily, NamesOf(mHost.Space().Sections));
}

void TObjectPanel::RefillMaterialNames() {
    Refill(mMaterialy, NamesOf(mHost.Space().Materials));
}

void TObjectPanel::cbProfilyRefresh() {
    TMKPSpace& space = mHost.Space();
    if (space.Sections.Empty()) return;
    RefillSectionNames();
    mProfily->setCurrentIndex(0);
    space.CurrentSection = space.Sections.First();
    space.CurrentMaterial = space.CurrentSection->Material;
    VypisHodnotyProfilu();
}

void TObjectPanel::cbMaterialyRefresh() {
    TMKPSpace& space = mHost.Space();
    if (space.Materials.Empty()) return;
    RefillMaterialNames();
    mMaterialy->setCurrentIndex(0);
    space.CurrentMaterial = space.Materials.First();
    VypisHodnotyMaterialu();
}

void TObjectPanel::RefillSectionAndMaterialLists() {
    cbMaterialyRefresh();
    cbProfilyRefresh();
}

void TObjectPanel::RefreshListsKeepingCurrent() {
    const TMKPSpace& space = mHost.Space();
    auto keep = [](QComboBox* box, const QString& current) {
        box->setCurrentIndex(std::max(0, box->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive)));
    };
    RefillMaterialNames();
    keep(mMaterialy, space.CurrentMaterial ? Q(space.CurrentMaterial->Name) : QString());
    RefillSectionNames();
    keep(mProfily, space.CurrentSection ? Q(space.CurrentSection->Name) : QString());
    VypisHodnotyMaterialu();
    VypisHodnotyProfilu();
}

void TObjectPanel::cbProfilyChange(const QString& name) {
    if (ChooseSection(mHost.Space(), name.toStdString())) VypisHodnotyProfilu();
}

void TObjectPanel::cbMaterialyChange(const QString& name) {
    TMKPSpace& space = mHost.Space();
    const TMaterial* before = space.CurrentSection ? space.CurrentSection->Material : nullptr;
    if (!ChooseMaterial(space, name.toStdString())) return;
    VypisHodnotyMaterialu();
    if (space.CurrentSection) {
        if (space.CurrentSection->Material != before) ModelChanged();
        VypisHodnotyProfilu();
    }
}

bool TObjectPanel::HasOwnKeyHandler(const QObject* widget) const {
    return widget && (widget == mProfily || widget == mProfily->lineEdit() || widget == mMaterialy ||
                      widget == mMaterialy->lineEdit());
}

bool TObjectPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        bool profily = watched == mProfily || watched == mProfily->lineEdit();
        auto* key = static_cast<QKeyEvent*>(event);
        if (HasOwnKeyHandler(watched) && !key->text().isEmpty()) {
            mHost.KeyCommand(key->text().at(0));
            if (profily)
                VypisHodnotyProfilu();
            else
                VypisHodnotyMaterialu();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QString name = watched->objectName();
        if (name == "lPrRP" && mouse->button() == Qt::LeftButton) {
            SpeedButton2Click();
            return true;
        }
        if ((name == "PodporaCaption" || name == "Podporalbl") && mouse->button() == Qt::RightButton) {
            mPopupMenu1->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

// ---- Commands -----------------------------------------------------------------------------

void TObjectPanel::ModelChanged() {
    mHost.ModelEdited();
}

void TObjectPanel::ToggleHinge(bool endA) {
    if (!ToggleCurrentMemberHinge(mHost.Space(), endA)) return;
    ModelChanged();
    ulozenitoshape();
    mHost.RepaintCanvas();
}

void TObjectPanel::shPripojeni1Click() {
    ToggleHinge(true);
}
void TObjectPanel::shPripojeni2Click() {
    ToggleHinge(false);
}

void TObjectPanel::shUzel1Click() {
    TMKPSpace& space = mHost.Space();
    if (!space.CurrentMember) return;
    space.CurrentNode = space.CurrentMember->NodeA;
    VypisHodnotyUzlu();
}

void TObjectPanel::shUzel2Click() {
    TMKPSpace& space = mHost.Space();
    if (!space.CurrentMember) return;
    space.CurrentNode = space.CurrentMember->NodeB;
    VypisHodnotyUzlu();
}

void TObjectPanel::Shape3Click() {
    TMKPSpace& space = mHost.Space();
    if (!space.CurrentMember) return;
    space.CurrentSection = space.CurrentMember->Section;
    VypisHodnotyProfilu();
}

void TObjectPanel::sbCopyPrClick() {
    CopySectionOfCurrentMember(mHost.Space());
}

void TObjectPanel::sbPastePrClick() {
    TMKPSpace& space = mHost.Space();
    if (!space.CurrentMember || !space.SectionClipboard) return;
    if (PasteSectionToCurrentMember(space)) ModelChanged();
    SetText("lPrP", space.CurrentMember->Section->Name);
}

void TObjectPanel::sbSAPrClick() {
    TMKPSpace& space = mHost.Space();
    MakeMemberSectionCurrent(space);
    if (space.CurrentSection) VypisHodnotyProfilu(); // also shows the name in cbProfily
}

void TObjectPanel::sbGAPrClick() {
    TMKPSpace& space = mHost.Space();
    if (!space.CurrentMember || !space.CurrentSection) return;
    if (AssignCurrentSectionToCurrentMember(space)) ModelChanged();
    SetText("lPrP", space.CurrentSection->Name);
}

void TObjectPanel::SpeedButton2Click() {
    if (TurnCurrentMemberSection(mHost.Space())) ModelChanged();
    VypisHodnotyPrutu();
}

void TObjectPanel::SpeedButton1Click() {
    if (!SwapCurrentMemberNodes(mHost.Space())) return;
    ModelChanged();
    mHost.RepaintCanvas();
    ulozenitoshape();
    VypisHodnotyPrutu();
}

void TObjectPanel::AssignNode(bool endA) {
    switch (AssignCurrentNodeToEnd(mHost.Space(), endA)) {
    case TAssignNodeResult::NothingToDo:
        return;
    case TAssignNodeResult::Refused:
        Dialogs().Inform("Není možno přiřadit oběma koncům týž uzel. Nulová délka prutu není povolena.");
        return;
    case TAssignNodeResult::Assigned:
        ModelChanged();
        VypisHodnotyPrutu();
        mHost.RepaintCanvas();
        return;
    }
}

void TObjectPanel::PriraditUzluA() {
    AssignNode(true);
}
void TObjectPanel::PriraditUzluB() {
    AssignNode(false);
}

void TObjectPanel::sbDelPrut1Click() {
    TMKPSpace& space = mHost.Space();
    if (!space.CurrentMember) return;
    if (!Dialogs().AskYesNo("Smazat prut?")) return;
    // The member to delete must not stay reachable through the selection.
    space.SelectedMembers.Clear();
    VypisPomocnyPrut();
    mHost.SelectionChanged();
    space.SmazPrut();
    ModelChanged();
    VypisHodnotyPrutu();
    mHost.RepaintCanvas();
}

void TObjectPanel::SpinButton2UpClick() {
    TPrut* m = mHost.Space().CurrentMember;
    if (!m) return;
    StepCurrentLoad(m->Loads, m->CurrentLoad, +1);
    VypisHodnotyZatizeniP();
}

void TObjectPanel::SpinButton2DownClick() {
    TPrut* m = mHost.Space().CurrentMember;
    if (!m) return;
    StepCurrentLoad(m->Loads, m->CurrentLoad, -1);
    VypisHodnotyZatizeniP();
}

void TObjectPanel::SpinButton1UpClick() {
    TUzel* n = mHost.Space().CurrentNode;
    if (!n) return;
    StepCurrentLoad(n->Loads, n->CurrentLoad, +1);
    VypisHodnotyZatizeniU();
}

void TObjectPanel::SpinButton1DownClick() {
    TUzel* n = mHost.Space().CurrentNode;
    if (!n) return;
    StepCurrentLoad(n->Loads, n->CurrentLoad, -1);
    VypisHodnotyZatizeniU();
}

void TObjectPanel::NastavPodporu(int kind) {
    TUzel* n = mHost.Space().CurrentNode;
    if (!n || !SetSupportKind(*n, kind)) return;
    ModelChanged();
    mHost.RepaintCanvas();
    // Only the kind is shown again; the orientation label keeps its text until the next node display.
    SetText("Podporalbl", SupportCaption(*n));
}

void TObjectPanel::AssCrSToAll() {
    if (AssignCurrentSectionToAll(mHost.Space()) > 0) ModelChanged();
}

void TObjectPanel::AssCrSToSel() {
    if (AssignCurrentSectionToSelected(mHost.Space()) > 0) ModelChanged();
}

void TObjectPanel::sbDelNUCrsClick() {
    TMKPSpace& space = mHost.Space();
    int before = space.Sections.Count();
    space.SmazNepouziteProfily();
    RefillSectionNames();
    if (space.Sections.Count() != before) ModelChanged();
    VypisHodnotyProfilu();
}

void TObjectPanel::sbDelNUMatClick() {
    TMKPSpace& space = mHost.Space();
    int before = space.Materials.Count();
    space.SmazNepouziteMaterialy();
    RefillMaterialNames();
    if (space.Materials.Count() != before) ModelChanged();
    VypisHodnotyMaterialu();
}

void TObjectPanel::sbDelLPClick() {
    if (!mHost.Space().CurrentMember) return;
    if (DeleteCurrentMemberLoad(mHost.Space())) ModelChanged();
    VypisHodnotyZatizeniP();
    mHost.RepaintCanvas();
}

void TObjectPanel::sbDelLUClick() {
    if (!mHost.Space().CurrentNode) return;
    if (DeleteCurrentNodeLoad(mHost.Space())) ModelChanged();
    VypisHodnotyZatizeniU();
    mHost.RepaintCanvas();
}
