#pragma once
// The model space: owns one structural model (lists of materials, sections, members, nodes and
// load cases), the current objects, the two selections, the self-weight load case, the origin
// marker and the anchor, the unit-system state and the view and display state. Every edit of
// the model goes through its operations, which keep node and member numbers equal to list
// position + 1 and the equation numbers 3n-2, 3n-1, 3n.
#include <cstdint>
#include <iosfwd>
#include <string>

#include <vector>

#include "analysis/ProfileMatrix.h"
#include "model/MKPObjekty.h"

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

    // Exchanges the whole model (lists, current objects, selections, clipboard) with another
    // model space; settings, units and view stay where they are.
    void SwapModel(TMKPSpace& other);

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
    void NactiKnihovnuProfilu(const std::string& fileName);
    void NactiKnihovnuProfilu(std::istream& in);
    void NactiKnihovnuMaterialu(const std::string& fileName);
    void NactiKnihovnuMaterialu(std::istream& in);

    // ---- Analysis -------------------------------------------------------------------------

    // Outcome of a computation (see ProfileMatrix.h).
    using TSolveResult = ::TSolveResult;
    using TSolveStatus = ::TSolveStatus;

    // Global arrays of the computation, indices 1..3N (index 0 unused): the stiffness matrix in
    // the node systems (as its profile), the members' fixed-end forces (after the solution the
    // total member end forces), the nodal loads, the right-hand side PG - MG and the solution
    // (mrad, mm). They exist only while a computation runs.
    TProfileMatrix KG;
    TVector MG;
    TVector PG;
    TVector FG;
    TVector RG;
    // Trace files: written into TraceDir (empty: the process's working directory) when
    // TraceFiles is set. TraceFailures lists the files of the last computation that could not be
    // written.
    std::string TraceDir;
    bool TraceEnabled = true;
    std::vector<std::string> TraceFailures;

    // The whole computation of the compute command without its display steps: turns members
    // hinged at a only, assembles, solves, stores displacements, end results and reactions.
    // The refusals are shown through Dialogs() and returned; a model without members is left alone.
    TSolveStatus Vypocet();
    void SestavKG();
    void SestavMG();
    void SestavPG();
    void SestavFG();
    TSolveStatus Res();
    void UvolniKG();
    void UvolniMG();
    void UvolniPG();
    void UvolniFG();
    void UvolniRG();
    // The path of a trace file in TraceDir.
    std::string TracePath(const std::string& name) const;

    // ---- View and drawing -----------------------------------------------------------------

    // Display mode back to the model view and the load display scales back to 3 (after SmazVse).
    void ResetDisplayAfterClear();
};
