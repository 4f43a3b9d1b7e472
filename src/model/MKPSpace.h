#pragma once
// The model space: owns one structural model (lists of materials, sections, members, nodes and
// load cases), the current objects, the two selections, the self-weight load case, the origin
// marker and the anchor, the unit-system state and the view and display state. Every edit of
// the model goes through its operations, which keep node and member numbers equal to list
// position + 1 and the equation numbers 3n-2, 3n-1, 3n.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "base/Pixel.h"
#include "model/CaseStore.h"
#include "model/LoadCases.h"
#include "model/MKPObjekty.h"

// The computation (analysis/) and the drawing (canvas/) are operations of the model space defined
// in their own folders; this header needs only the names of their types.
class TCanvasPainter;
class TMemberTables;
class TObalka;
struct TGenerationOptions;
class TProfileMatrix;
class TSparseMatrix;
struct TSolveStatus;
enum class TSolveResult;
enum class TElimination;
enum class TEquationOrder;
enum class TSolverPath;

class TMKPSpace {
public:
    TMKPSpace();
    ~TMKPSpace();
    TMKPSpace(const TMKPSpace&) = delete;
    TMKPSpace& operator=(const TMKPSpace&) = delete;

    // ---- Model ----------------------------------------------------------------------------

    TMaterialList Materials;
    TCSectionList Sections;
    TMemberList Members;
    TNodeList Nodes;
    TZatStavList LoadCases;
    TMemberList SelectedMembers{false}; // references only
    TNodeList SelectedNodes{false};     // references only
    TUzel* CurrentNode = nullptr;
    TPrut* CurrentMember = nullptr;
    TProfil* CurrentSection = nullptr;
    TMaterial* CurrentMaterial = nullptr;
    TProfil* SectionClipboard = nullptr; // the copy-section command's clipboard
    TZatezovaciStav WeightCase{"Weight", 1.0L};
    bool SelfWeight = false;
    std::int32_t MemberDivision = 10;
    bool ResultsValid = false;
    TPocatekSS Origin;
    TRefPoint Anchor;

    TUzel* PridejUzel(std::int32_t number, TReal x, TReal y);
    TPrut* PridejPrut(TUzel* a, TUzel* b, TProfil* section, bool sectionTurned, std::int32_t number,
                      bool hingeA, bool hingeB);
    TProfil* PridejProfil(const std::string& name, TMaterial* material, TReal a, TReal iy, TReal iz);
    TMaterial* PridejMaterial(const std::string& name, TReal e, TReal d);

    void SmazPrut();
    void SmazNepripojeneUzly();
    void SmazNepouziteProfily();
    void SmazNepouziteMaterialy();
    void SmazVse();
    void OtocAktualniPrut();
    void OtocPrutySKloubemA();
    void NastavVlastniTihu(bool on);
    void NastavDeleniPrutu(std::int32_t n);

    // Exchanges the whole model (lists, current objects, selections, clipboard, cases,
    // combinations and the results of the cases) with another model space; settings, units and
    // view stay where they are.
    void SwapModel(TMKPSpace& other);

    // ---- Load cases and combinations (CaseModel.cpp) ---------------------------------------
    //
    // A model without cases (LoadCases empty) has one case, DefaultCase, to which all its loads
    // belong, its self-weight loads too: it is computed exactly as a model of one load state. Once
    // cases are defined, a load belongs to its LoadCase (a load without one to the first case);
    // the self-weight loads belong to WeightCase, a permanent case that keeps its factor. Combinations may
    // name any of these cases (DefaultCase only while there are no others).

    TZatezovaciStav DefaultCase{KDefaultCaseName, TCaseKind::Permanent};
    TKombinaceList Combinations;
    static constexpr const char* KDefaultCaseName = "Výchozí";
    static constexpr const char* KWeightCaseName = "Weight";

    // The case a load belongs to.
    TZatezovaciStav* StavZatizeni(const TZatizeni& load);
    // The cases the computation solves, in order: DefaultCase alone, or LoadCases followed by
    // WeightCase when a member carries a self-weight load.
    std::vector<TZatezovaciStav*> PocitaneStavy();
    // A case by its name: LoadCases, WeightCase ("Weight"), DefaultCase while there are no cases.
    TZatezovaciStav* NajdiZatezovaciStav(const std::string& name);
    // Why a name cannot be given to a new case (or to `renamed`), in Czech; empty when it can.
    std::string ChybaNazvuStavu(const std::string& name, const TZatezovaciStav* renamed = nullptr) const;
    std::string ChybaNazvuKombinace(const std::string& name, const TKombinace* renamed = nullptr) const;
    // Appends a case. The first case defined takes over the default case: every load that had no
    // case is given this one, and the combinations that named DefaultCase name it instead.
    TZatezovaciStav* PridejZatezovaciStav(const std::string& name, TCaseKind kind,
                                          TCaseCategory category = TCaseCategory::None,
                                          const std::string& group = {});
    // Deletes a case of LoadCases: its loads move to moveTo (another case of LoadCases) or, with
    // none, are deleted; the combinations lose its terms. The last case gone, the model is one
    // without cases again (its loads, if kept, belong to the default case).
    void SmazZatezovaciStav(TZatezovaciStav* loadCase, TZatezovaciStav* moveTo);
    // Puts a load into a case (nullptr: no case of its own).
    void NastavStavZatizeni(TZatizeni& load, TZatezovaciStav* loadCase);
    TKombinace* PridejKombinaci(const std::string& name, TCombinationKind kind, std::vector<TCombinationTerm> terms,
                                const std::string& formula = {});
    void SmazKombinaci(TKombinace* combination);
    // Replaces every generated combination (all but the user's) by the given ones, in order.
    void NastavGenerovaneKombinace(std::vector<std::unique_ptr<TKombinace>> generated);
    // Generates the EN 1990 combinations of the cases computed (En1990.h) in place of the
    // generated ones there were; the user's own stay, and their names are not taken again.
    void VygenerujKombinace(const TGenerationOptions& options);
    // The loads of a case (factor 1) or a combination (its factors), as TLoadFactors. With
    // present, the loads of those combinations' cases also take part, at the factor 0.
    std::shared_ptr<TLoadFactors> FaktoryStavu(const TZatezovaciStav* loadCase);
    std::shared_ptr<TLoadFactors> FaktoryKombinace(const TKombinace& combination,
                                                   const std::vector<const TKombinace*>* present = nullptr);

    // ---- Results of the cases (CaseResults.cpp) -------------------------------------------

    // Filled by every computation that succeeds; emptied when cases are deleted.
    TCaseResults CaseResults;
    // What the model shows after each computation (and at once, through NastavVysledky).
    TResultsChoice ResultsChoice;
    // The envelope shown, while ResultsChoice is an envelope; the result diagrams then draw its
    // two curves.
    std::shared_ptr<const TObalka> Envelope;
    // The case whose computation the trace files show; empty or unknown: the first case.
    std::string TracedCase;
    // Chooses what the model shows and shows it when the results are there. False, and nothing
    // changed, when the choice names a case or combination that the model has not, or when
    // computed results lack a case it needs.
    bool NastavVysledky(const TResultsChoice& choice);
    // Shows ResultsChoice from the stored results (after a computation); false as above.
    bool ZobrazVysledky();
    // The combinations of an envelope choice; false with the first name that is not one.
    bool KombinaceObalky(const TResultsChoice& choice, std::vector<const TKombinace*>& out,
                         std::string* unknown = nullptr);

    // ---- Units ----------------------------------------------------------------------------

    std::uint8_t UnitSystem = 0; // 0 metric, 1 imperial
    std::uint8_t LengthUnit = 1;
    std::uint8_t ForceUnit = 2;
    std::uint8_t StressUnit = 3;
    std::uint8_t SectionUnit = 1;
    std::string LengthLabel = "m";
    std::string ForceLabel = "kN";
    std::string StressLabel = "MPa";
    std::string SectionLabel = "m";

    void NastavJednotkuDelky(std::uint8_t code);
    void NastavJednotkuSily(std::uint8_t code);
    void NastavJednotkuNapeti(std::uint8_t code);
    void NastavJednotkuPrurezu(std::uint8_t code);
    void NastavSoustavuJednotek(std::uint8_t system);

    // ---- Project file and libraries -------------------------------------------------------

    void NactiProjekt(const std::string& fileName);
    void NactiProjekt(std::istream& in);
    void UlozProjekt(const std::string& fileName);
    void UlozProjekt(std::ostream& out);
    // The text UlozProjekt writes, made in memory in one piece (room for `sizeHint` characters is
    // taken first); throws what the writer throws.
    std::string TextProjektu(std::size_t sizeHint = 0) const;
    void NactiKnihovnuProfilu(const std::string& fileName);
    void NactiKnihovnuProfilu(std::istream& in);
    void NactiKnihovnuMaterialu(const std::string& fileName);
    void NactiKnihovnuMaterialu(std::istream& in);

    // ---- Analysis -------------------------------------------------------------------------

    // Outcome of a computation (see ProfileMatrix.h).
    using TSolveResult = ::TSolveResult;
    using TSolveStatus = ::TSolveStatus;

    // Global arrays of the computation, indices 1..3N (index 0 unused): the stiffness matrix in
    // the node systems (as its profile), the members' fixed-end forces (after the solution, at
    // the restrained degrees of freedom, the total member end forces), the nodal loads, the
    // right-hand side PG - MG and the solution (mrad, mm). They exist only while a computation
    // runs. The matrix itself is made and destroyed by analysis/ (GlobalMatrix.cpp), so that this
    // header needs only its name.
private:
    struct TMatrixDeleter {
        void operator()(TProfileMatrix* matrix) const;
    };
    static TProfileMatrix* NewMatrix();
    std::unique_ptr<TProfileMatrix, TMatrixDeleter> mKG{NewMatrix()};

public:
    TProfileMatrix& KG{*mKG};
    // The matrix of a frame that the sparse factorization solves (KG then stays empty); null
    // otherwise.
    struct TSparseDeleter {
        void operator()(TSparseMatrix* matrix) const;
    };
    std::unique_ptr<TSparseMatrix, TSparseDeleter> SparseKG;
    TVector MG;
    TVector PG;
    TVector FG;
    TVector RG;
    // Trace files: written into TraceDir (empty: the process's working directory) when
    // TraceEnabled is set, one computation at a time per folder. TraceFailures lists the files of
    // the last computation that could not be written, each with the reason; TraceWritten the
    // paths it wrote or tried to write. The computation removes the trace files it did not write.
    struct TTraceFailure {
        std::string Path;
        std::string Reason;
    };
    std::string TraceDir;
    bool TraceEnabled = true;
    std::vector<TTraceFailure> TraceFailures;
    std::vector<std::string> TraceWritten;
    // The dense matrix files (00KG.out, 00KGa.out) hold (3N)² lines each: when the two of one
    // computation would exceed TraceMatrixLimit bytes (0: no limit), they are left out and
    // TraceMatricesLeftOut says so; the vector files are written as always.
    static constexpr std::uint64_t KDefaultTraceMatrixLimit = std::uint64_t(64) << 20;
    std::uint64_t TraceMatrixLimit = KDefaultTraceMatrixLimit;
    bool TraceMatricesLeftOut = false;
    // How the elimination runs (one or two threads); the results are the same bit for bit.
    // Automatic at first (the value-initialised enumerator, checked in GlobalMatrix.cpp).
    TElimination Elimination{};
    // The order of the elimination: the model's, or a profile-reducing one where that pays.
    // Automatic at first.
    TEquationOrder EquationOrder{};
    // Which solver: decided by the estimated work at first (Automatic); the model's order
    // (EquationOrder Model) always eliminates the profile.
    TSolverPath SolverPath{};

    // The whole computation of the compute command without its display steps: turns members
    // hinged at a only, assembles, solves, stores displacements, end results and reactions.
    // The refusals are shown through Dialogs() and returned; a model without members is left alone.
    TSolveStatus Vypocet();
    void SestavKG();
    void SestavMG();
    void SestavPG();
    void SestavFG();
    TSolveStatus Res();
    // Names the fault through the message sink and marks the results invalid.
    TSolveStatus Odmitni(const std::string& fault);
    void UvolniKG();
    void UvolniMG();
    void UvolniPG();
    void UvolniFG();
    void UvolniRG();
    // The path of a trace file in TraceDir.
    std::string TracePath(const std::string& name) const;

    // ---- View and drawing -----------------------------------------------------------------
    //
    // The view maps model metres to canvas pixels: X = Round(Zoom·x + OffsetX),
    // Y = Round((Height − OffsetY) − Zoom·y), halves to even; OffsetY counts from the bottom edge.
    //
    // How a canvas widget uses this section:
    // - install OnRepaint (it schedules a widget update) and keep Width/Height equal to the
    //   widget's size (call ScrollBarsReset on a resize);
    // - paint event: QImage image(Width, Height, QImage::Format_RGB32); TQtCanvasPainter p(image);
    //   space.Prekresli(p); draw the image onto the widget and keep it as the visible canvas;
    // - SetVisibleCanvas(&painterOnTheKeptImage) lets KresliUzel, KresliVsechnyUzly, KresliPrut
    //   and the rubber band draw straight onto the kept image (then update the widget);
    // - the scroll bars mirror HScroll/VScroll; their change signals call HScrollBarChange and
    //   VScrollBarChange.

    struct TModelPoint {
        TReal X = 0.0L;
        TReal Y = 0.0L;
    };
    // A scroll bar as plain values.
    struct TScrollBarState {
        std::int32_t Min = -10000;
        std::int32_t Max = 10000;
        std::int32_t Position = 0;
        std::int32_t LargeStep = 10;
        bool Enabled = true;
    };

    // Pixels per metre, always within 10 … 2000.
    std::int32_t Zoom() const { return mZoom; }
    void SetZoom(std::int32_t zoom);
    std::int32_t OffsetX = 40;
    std::int32_t OffsetY = 40;
    std::int32_t Width = 105; // canvas size in pixels
    std::int32_t Height = 105;
    bool GridVisible = false;
    TReal GridDX = 0.5L; // m
    TReal GridDY = 0.5L;
    bool SnapOn = false;
    TReal SnapDX = 0.1L; // m
    TReal SnapDY = 0.1L;
    TModelPoint ZoomCorner1;
    TModelPoint ZoomCorner2;
    TPixelRect RubberRect;
    TScrollBarState HScroll{-10000, 10000, -40, 10, true}; // position = −OffsetX
    TScrollBarState VScroll{-10000, 10000, 40, 10, true};  // position = OffsetY

    // Display flags and scales. The setters named so repaint.
    bool ShowNumbers = false;
    bool ShowNodalLoads = true;
    bool ShowMemberLoads = true;
    // Which loads are drawn: those of the case at this position of LoadCases only, or (-1, or a
    // position the model has not) every load. With every load drawn and CaseColours set, a model
    // of more than one case draws each load in the colour of its case (CaseColour) instead of the
    // colour of its kind. The calculator's pictures keep the defaults.
    std::int32_t LoadsOfCase = -1;
    bool CaseColours = false;
    bool ShowReactions() const { return mShowReactions; }
    void SetShowReactions(bool on);
    TReal ScaleSL() const { return mScaleSL; } // px per kN of a point force, 0 … 100
    void SetScaleSL(TReal scale);
    TReal ScaleCL() const { return mScaleCL; } // px per kN/m of a distributed load, 0 … 100
    void SetScaleCL(TReal scale);
    TReal ScaleIF() const { return mScaleIF; } // px per kN, kNm or mm of a diagram, 0 … 100000
    void SetScaleIF(TReal scale);
    // 0 model, 1 T, 2 N, 3 M, 4 deformed shape.
    std::uint8_t TypZobrazeni() const { return mTypZobrazeni; }

    // Values the user pinned on the result diagrams: member (list position), distance x from its
    // node a and the display mode they were pinned in; each is drawn, with the value the shown
    // results give there, while its mode is shown. The window empties the list when the model
    // changes.
    struct TValueMark {
        int Member = 0;
        TReal X = 0.0L;
        std::uint8_t Mode = 0;
    };
    std::vector<TValueMark> ValueMarks;
    void SetTypZobrazeni(std::uint8_t mode);

    // Called whenever the canvas must be repainted; the window installs it.
    std::function<void()> OnRepaint;

    TPixel ToScreen(TReal x, TReal y) const;
    TModelPoint ToModel(int x, int y) const;
    TModelPoint SnapToStep(TModelPoint p) const;
    // Bounding box of the nodes; all 0 without nodes.
    void Rozsah(TReal& minX, TReal& maxX, TReal& minY, TReal& maxY) const;
    // Fits all nodes into the canvas, and with them whatever is drawn beyond them (supports,
    // loads, labels); false (nothing changed, no repaint) when the nodes have no extent.
    bool ShowAll();
    void ZoomAboutCentre(std::int32_t newZoom);
    // Fits ZoomCorner1–ZoomCorner2 to the canvas (in) or the canvas into it (out), writes the
    // scroll positions and repaints; a window whose corners coincide leaves the view unchanged
    // and returns false.
    bool ZoomToWindow(bool zoomIn);
    void CentreAt(int x, int y);
    void PanBy(int dx, int dy);
    // Finds the origin: offsets 40 and 40.
    void ScrolltoCSO();
    // Scroll ranges from the model extents (on every resize).
    void ScrollBarsReset();
    // Writes both scroll positions from the offsets, widening a range that would clamp them.
    void WriteScrollPositions();
    void HScrollBarChange(std::int32_t position);
    void VScrollBarChange(std::int32_t position);

    // Asks the window for a full repaint (OnRepaint).
    void Prekresli();
    // The full repaint: composes the whole picture onto an off-screen painter of the canvas size.
    void Prekresli(TCanvasPainter& offscreen);
    // The visible canvas for the direct drawings and the rubber band (not owned; may be null).
    void SetVisibleCanvas(TCanvasPainter* canvas) { mVisible = canvas; }
    TCanvasPainter* VisibleCanvas() const { return mVisible; }
    // Direct drawings of CurrentNode, all nodes and CurrentMember onto the visible canvas (or
    // onto the painter given).
    void KresliUzel();
    void KresliUzel(TCanvasPainter& canvas);
    void KresliVsechnyUzly();
    void KresliVsechnyUzly(TCanvasPainter& canvas);
    void KresliPrut();
    void KresliPrut(TCanvasPainter& canvas);
    // Zoom-window rubber band on the visible canvas: Begin saves the area of RubberRect and sets
    // the dotted pen and hollow brush; Move puts the saved pixels back, makes RubberRect the
    // rectangle from ToScreen(ZoomCorner1) to the pointer, saves under it and draws the outline;
    // End restores solid pen and brush.
    void BeginRubberBand();
    void MoveRubberBand(int x, int y);
    void EndRubberBand();

    // Display mode back to the model view and the load display scales back to 3 (after SmazVse).
    void ResetDisplayAfterClear();

    // What the full repaint keeps from one repaint to the next (canvas/MemberResults.h): made by
    // the first one, checked against the model by every later one.
    struct TTablesDeleter {
        void operator()(TMemberTables* tables) const;
    };
    std::unique_ptr<TMemberTables, TTablesDeleter> DrawingTables;

private:
    // Show-all's second step: the zoom and offsets it set, narrowed or moved until the whole
    // drawing lies inside the canvas (w, h and the minima are the node extents).
    void KeepDrawingInside(TReal w, TReal h, TReal minX, TReal minY);

    std::int32_t mZoom = 100;
    bool mShowReactions = false;
    TReal mScaleSL = 3.0L;
    TReal mScaleCL = 3.0L;
    TReal mScaleIF = 3.0L;
    std::uint8_t mTypZobrazeni = 0;
    TCanvasPainter* mVisible = nullptr;
};
