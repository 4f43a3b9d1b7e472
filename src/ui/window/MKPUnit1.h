#pragma once
// The main window TForm1: menus, the four toolbars, the status bar with the display-type tabs, the
// canvas and the object panel around one model space, the tool state machine, the keyboard
// commands and the commands of the menus. Every command ends in RepaintCanvas and the display
// routine of the page concerned. The definitions are spread by concern over the files of this
// folder: MKPUnit1.cpp (construction, view and dialog commands), FormMenus.cpp (toolbars and
// menus), FormFiles.cpp (file and library commands), FormCompute.cpp (computation, reports),
// FormKeyboard.cpp (keyboard), FormStatusBar.cpp, FormEditing.cpp (undo, live results),
// FormLoads.cpp and CanvasMouse.cpp (mouse on the canvas).
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMap>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "analysis/Diagnostics.h"
#include "model/MKPSpace.h"
#include "ui/common/CaseChoice.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/editing/Background.h"
#include "ui/editing/EditSession.h"
#include "ui/panel/PanelHost.h"
#include "ui/window/CanvasHost.h"
#include "ui/window/ResultTabFit.h"

class QAction;
class QComboBox;
class TLoadCasesDialog;
class TCombinationsDialog;
class QActionGroup;
class QFileDialog;
class QLabel;
class QMenu;
class QProgressDialog;
class QTabBar;
class QToolBar;
class QToolButton;
class TCanvasWidget;
class TComputationNote;
class TForm2;
class TForm3;
class TForm5;
class TObjectPanel;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm4;
class TForm6;

class TForm1 : public QMainWindow, public TPanelHost, public TDialogHost, public TCanvasHost, private TEditHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    TMKPSpace& MKPSpace1() { return mSpace; }
    TCanvasWidget* Canvas() const { return mCanvas; }
    TObjectPanel* Panel() const override { return mPanel; }

    // TPanelHost and TDialogHost.
    TMKPSpace& Space() override { return mSpace; }
    QWidget* DialogParent() override { return this; }
    void RepaintCanvas() override;
    void ModelEdited() override;
    void SelectionChanged() override;
    void KeyCommand(QChar key) override { FormKeyPress(key); }

    // The whole computation of the model (messages through Dialogs()); it leaves its outcome in
    // ResultsValid. Replaceable so that the window can be tested with a scripted computation.
    using TComputation = std::function<void(TMKPSpace&)>;
    void SetComputation(TComputation computation) {
        mComputation = std::move(computation);
        mScriptedComputation = true;
    }
    // The grid and snap input boxes: caption, prompt and the default text in, the answer out
    // (a cancelled box answers with the default text).
    using TInputBox =
        std::function<QString(const QString& caption, const QString& prompt, const QString& defaultText)>;
    void SetInputBox(TInputBox box) { mInputBox = std::move(box); }
    // Skip the closing question (used when the program is ended from outside, e.g. tests).
    void SetAskOnClose(bool ask) { mAskOnClose = ask; }

    // Canvas mouse handlers: button pressed or released, buttons held, Shift/Ctrl, pixel position.
    void MKPSpace1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods,
                            int x, int y) override;
    void MKPSpace1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int x, int y) override;
    void MKPSpace1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y) override;
    // A double click with the left button on a drawn load opens it for editing.
    void MKPSpace1DblClick(Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y) override;

    // Leaves the current tool (every right press on the canvas).
    void FinishAction();
    // The one-character commands, and the key preview that feeds them.
    void Klavesa(QChar key);
    void FormKeyPress(QChar key);
    void StatusBarRefresh();
    void CanvasLock();
    void CanvasUnlock();
    void FormResize() override;

    // Open and save with a file name already chosen (the steps after the file dialogs).
    void OpenProjectFile(const QString& fileName);
    void SaveProjectFile(const QString& fileName);
    // Section / material library from a file name (NactiSLibCRS / NactiMLibMAT) and the fixed
    // libraries by their file name ("crsI.crs", "matO.mat").
    void NactiSLibCRS(const QString& fileName);
    void NactiMLibMAT(const QString& fileName);
    void Natiprofily1Click(const QString& fixedName);
    void Natimateril1Click(const QString& fixedName);

    // Tool buttons by objectName; the engaged flags of the gesture tools.
    QAction* Tool(const QString& name) const { return mTools.value(name, nullptr); }
    bool IsDown(const QString& name) const;
    bool Engaged(const QString& name) const;
    bool NodeDragging() const { return mNodeDrag; }
    QString StatusText(int panel) const;
    QTabBar* FlatTabControl2() const { return mTabs; }
    QAction* MenuItem(const QString& name) const { return mMenuItems.value(name, nullptr); }
    QFileDialog* OpenDialog1() const { return mOpenDialog; }
    QFileDialog* SaveDialog1() const { return mSaveDialog; }
    // The single-value and coordinates dialogs of the geometry tools.
    TForm2* Form2() const { return mForm2; }
    TForm3* Form3() const { return mForm3; }
    // The report viewer and the member matrices window (created with the main window).
    TForm6* Form6() const { return mForm6; }
    TForm4* Form4() const { return mForm4; }
    // The load dialog; the remembered tool is the button that opened the last small input dialog.
    TForm5* Form5() const { return mForm5; }
    const QString& RememberedTool() const { return mRememberedTool; }
    QFileDialog* SaveDialog2() const { return mSaveDialog2; }

    // Undo, redo, live results, diagram fit and the place of a refusal (FormEditing.cpp).
    void Zpet();
    void Znovu();
    void PrizpusobMeritkoClick();
    // Live results on or off; `remember` keeps the choice for the next run.
    void SetLiveResults(bool on, bool remember = false);
    bool LiveResults() const override;
    const TUndoHistory& History() const { return mSession.History(); }
    // The edit session (tests: where large frames are computed, holding a computation).
    TEditSession& Session() { return mSession; }
    // The progress of a computation off the window's thread (null until one took long).
    QProgressDialog* ComputationProgress() const { return mProgress; }
    // Where the last refused computation moves (no node when none was refused).
    TDofPlace MechanismPlace() const { return mSession.Mechanism(); }
    // The note of the last computation in the canvas corner: equilibrium, refusal and its place.
    QString InfoText() const override;
    // The definition dialogs: section, settings, material and the f(x) editor.
    TForm8* Form8() const { return mForm8; }
    TForm9* Form9() const { return mForm9; }
    TForm10* Form10() const { return mForm10; }
    TForm11* Form11() const { return mForm11; }
    // After the settings applied a unit system (changed or not): the status bar's unit panels,
    // every page of the object panel, the unit labels of the open dialogs. Everything else that
    // shows a value (canvas labels, reports, protocol, the other dialogs) reads the model space's
    // unit state when it draws or opens.
    void UnitSystemApplied() override;

public slots:
    void NewBtnClick();
    void nactis();
    void tbSaveClick();
    void Ulosoubor1Click() { tbSaveClick(); }
    void ToolButton2Click();
    void ToolButton5Click();
    void sbComputeClick();
    void Spustit1Click() { sbComputeClick(); }
    void FlatTabControl2Change(int index);
    void Button2Click();
    void Button3Click();
    void ShowAllBtnClick();
    void tbSTCSCClick();
    void GridEdit();
    void SnapEdit();
    void CreateMemberP();
    void UnselectNodes();
    void ClrSeznamVP();
    void RefPointAD();
    void SetRefPoint();
    void SpeedButton7Click();
    void ObjectPanel1Click();
    void Zapotatthukonstrukce1Click();
    void About1Click();
    void Napoveda1Click();
    void PrubeznyVypocet1Click();
    // The results report and the model protocol in the report viewer; the member matrices.
    void Reakce1Click();
    void Protokol1Click();
    void sbShowMatrClick();
    void Vpismatic1Click() { sbShowMatrClick(); }
    // Opens the load dialog for "sbAddLP" (member load) or "sbAddLU" (nodal load).
    void FormZatizeni(const QString& sender);
    // Opens the load dialog filled with the current load of the current member ("sbEditLP") or
    // node ("sbEditLU"); nothing without one.
    void UpravZatizeni(const QString& sender);
    // The load dialog added a load to the current member (node), or edited one.
    void ZatizeniPridano(bool member);
    // Open the single-value dialog (member and support tools) or the coordinates dialog for the
    // tool of the button (objectName).
    void sbDDelka1Click(const QString& button);
    void sbNCoorCh1Click(const QString& button);
    // The canvas picture as a metafile file, on the printer, on the clipboard.
    void UloitjakoWMF1Click();
    void PrintCanvas1Click();
    void CopytoClipboard1Click();
    void Definovatprofil1Click();
    void Definovatmateril1Click();
    void Settings1Click();
    void Addnew2Dfxeditor1Click();
    // Deletes the loads of every member at node b of the current member (after that node moved),
    // then shows the member load display and repaints.
    void SmazVsechnaZatizeniPrutu();
    // Load cases (FormCases.cpp): the cases and combinations dialogs; the toolbar's case choice
    // (an entry of its combo box, as if the user chose it) and the case new loads go into.
    void ZatezovaciStavy1Click();
    void Kombinace1Click();
    void cbZatStavChange(int entry);
    void ChooseCase(int entry);
    std::string CaseForNewLoadsName() const;
    const TCaseChoice& CaseChoice() const { return mCaseChoice; }
    QComboBox* cbZatStav() const { return mCaseBox; }
    TLoadCasesDialog* CasesDialog() const { return mCasesDialog; }
    TCombinationsDialog* CombinationsDialog() const { return mCombinationsDialog; }
    // What the results show and the value under the pointer (FormResults.cpp): the results box
    // beside the result tabs (hidden for a model without cases), the value panel and the label at
    // the pointer, the marks pinned by a click (Esc removes them).
    QComboBox* ResultsBox() const { return mResultsBox; }
    void ResultsBoxChange(int index);
    QString PointerValueText() const;
    QLabel* PointerLabel() const { return mPointerLabel; }
    void ClearValueMarks();
    // A note in the status bar field beside the panels (until the next computation's note).
    void StatusNote(const QString& text) override { SetInfo(text); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbars();
    void BuildMenus();
    void BuildStatusBar();
    void BuildLibraryMenus();
    void ConnectPanel();
    QAction* AddTool(QToolBar* bar, const char* name, const char* hint, bool checkable);
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& key = {},
                     bool enabled = true);
    // Mirrors a toolbar toggle and a menu check mark and runs apply with the new state.
    void Pair(QAction* button, QAction* item, std::function<void(bool)> apply);
    // Tool groups: pressing a member releases the others; a button not marked releasable stays
    // down when clicked again.
    void Group(const QStringList& names, const QStringList& releasable);
    void PressTool(const QString& name);
    void ReleaseTool(const QString& name);
    void SetStatus(int panel, const QString& text);
    void ShowSelectionCounts();
    void ResultTabsToModel();
    void ClearLists();
    void SetCanvasCursor(int number);
    QString ChooseFile(QFileDialog* dialog);
    bool ReadSectionLibrary(const QString& path);
    bool ReadMaterialLibrary(const QString& path);
    void RefreshAfterSectionLibrary();
    void RefreshAfterMaterialLibrary();
    // The self-weight check mark and switch follow the model (after it was emptied or read).
    void SelfWeightFromModel();
    void ConnectDefinitionDialogs();
    // The case choice's combo box and dialogs, and their refresh from the model (FormCases.cpp).
    void BuildCaseCommands();
    void SyncCaseChoice();

    // Edits: the session notices them where commands end, keeps the history and runs live
    // results; the window shows what it asks for (FormEditing.cpp).
    void BuildEditingCommands();
    void CommitGesture() { mSession.EndDrag(); }
    void SetInfo(const QString& text);
    void DrawMechanismMark();
    bool ResultsShown() const override;
    void ResultsOff() override { ResultTabsToModel(); }
    void LiveResultsOn() override;
    void ShowNote(const std::string& text) override { SetInfo(QString::fromStdString(text)); }
    bool Dragging() const override { return mNodeDrag; }
    void ModelReplaced(const TModelView& view) override;
    void UndoAvailable(bool undo, bool redo) override;
    std::string Caption() const override { return windowTitle().toStdString(); }
    // Computations off the window's thread (FormCompute.cpp).
    void Wake() override;
    void ComputationBusy(bool busy) override;
    void CommandComputed(const TSolveStatus& status) override;
    void ComputeHere() override;
    void ShowProgressWhenDue();

    // Mouse rules (CanvasMouse.cpp).
    void ZoomWindowPress(const TMKPSpace::TModelPoint& p);
    void DrawMembersStep(const TMKPSpace::TModelPoint& p);
    void AddToSelection(const TMKPSpace::TModelPoint& p);
    void Pick(const TMKPSpace::TModelPoint& p);
    void DragNode(const TMKPSpace::TModelPoint& p);
    void EndNodeDrag();
    void DeleteMemberAt(TPrut* member);

    TMKPSpace mSpace;
    TEditSession mSession{mSpace, *this};
    TCanvasWidget* mCanvas = nullptr;
    TObjectPanel* mPanel = nullptr;
    QTabBar* mTabs = nullptr;
    QToolBar* mFilesBar = nullptr;
    QToolBar* mEditBar = nullptr;
    QToolBar* mViewBar = nullptr;
    QMap<QString, QAction*> mTools;
    QMap<QString, QAction*> mMenuItems;
    QMap<QString, QStringList> mGroupOf;
    QSet<QString> mReleasable;
    QLabel* mPanels[13] = {};
    // The "VU:" and "VP:" captions of the selection counts (a double click clears the selection)
    // and the grid and snap buttons of the view toolbar (a right press opens their input boxes).
    QLabel* mSelectedNodesCaption = nullptr;
    QLabel* mSelectedMembersCaption = nullptr;
    QWidget* mGridButton = nullptr;
    QWidget* mSnapButton = nullptr;
    QMenu* mPopupMenu3 = nullptr;
    QMenu* mPopupMenu4 = nullptr;
    QFileDialog* mOpenDialog = nullptr;
    QFileDialog* mSaveDialog = nullptr;
    QFileDialog* mOpenSLDialog = nullptr;
    QFileDialog* mOpenMLDialog = nullptr;
    QFileDialog* mSaveDialog2 = nullptr;
    TComputation mComputation;
    bool mScriptedComputation = false; // SetComputation: computed here, never off the thread
    TInputBox mInputBox;
    bool mAskOnClose = true;
    TForm2* mForm2 = nullptr;
    TForm3* mForm3 = nullptr;
    // When a menu item was last chosen: the second click of a double click on an item must not
    // reach the control that lies under the closed menu.
    QElapsedTimer mMenuChosen;
    TForm6* mForm6 = nullptr;
    TForm4* mForm4 = nullptr;

    // Gesture state: node drag, engaged tools, last pointer position (previous, current).
    bool mNodeDrag = false;
    bool mNodeMoved = false; // the dragged node has moved; its displays are refreshed at the end
    // The members at the dragged node with their list positions (their geometry follows it),
    // made for that node while the model had that many members.
    struct TDragMembers {
        const TUzel* Node = nullptr;
        int Members = -1;
        std::vector<std::pair<int, TPrut*>> At;
    } mDragMembers;
    bool mEngagedZoomInW = false;
    bool mEngagedZoomOutW = false;
    bool mEngagedZoomDyn = false;
    bool mEngagedScaleSL = false;
    bool mEngagedScaleCL = false;
    bool mEngagedScaleIF = false;
    int mPrevX = 0;
    int mCurX = 0;
    int mPrevY = 0;
    int mCurY = 0;

    // Results box, value panel, pointer label (FormResults.cpp).
    void BuildResultsChooser();
    void RefreshResultsChooser();
    void ShowPointerValue(int x, int y);
    void HidePointerValue();
    bool PinValue(int x, int y);
    void ModelChanged() override { ClearValueMarks(); }
    QComboBox* mResultsBox = nullptr;
    QAction* mResultsChooser[2] = {}; // the caption and the box in the view toolbar
    QLabel* mValuePanel = nullptr;
    QLabel* mPointerLabel = nullptr;

    bool mLookQueued = false; // a look at the end of the event is on its way (ModelEdited)
    TSolveStatus mLastStatus;
    TComputationNote* mInfo = nullptr;
    TForm5* mForm5 = nullptr;
    QString mRememberedTool;
    TForm8* mForm8 = nullptr;
    TForm9* mForm9 = nullptr;
    TForm10* mForm10 = nullptr;
    TForm11* mForm11 = nullptr;
    TResultTabFit mTabFit; // result tabs fitted since the last computation
    TProgressGate mProgressGate;
    QProgressDialog* mProgress = nullptr;
    // Load cases (FormCases.cpp).
    TCaseChoice mCaseChoice;
    QComboBox* mCaseBox = nullptr;
    TLoadCasesDialog* mCasesDialog = nullptr;
    TCombinationsDialog* mCombinationsDialog = nullptr;
};
