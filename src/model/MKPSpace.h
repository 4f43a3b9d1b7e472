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
    //
    // Equation k of node n: 3n-2 rotation, 3n-1 u, 3n w. The arrays run from 1 to 3N (index 0
    // stays 0); stiffness from MPa and metres with loads in kN and kNm gives RG in mm and mrad.

    enum class TSolveResult { Ok, NoMembers, ZeroPivot, Mechanism };
    struct TSolveStatus {
        TSolveResult Result = TSolveResult::Ok;
        int Equation = 0; // the equation of a zero pivot or of the mechanism check
    };

    TProfileMatrix KG; // global stiffness in the node systems
    TVector MG;        // fixed-end forces by equation; after the solution the member end forces
    TVector PG;        // nodal loads
    TVector FG;        // right-hand side PG - MG
    TVector RG;        // solution: rotations (mrad) and displacements (mm)
    // Folder of the trace files (empty: the working directory) and whether they are written.
    std::string TraceDir;
    bool TraceEnabled = true;
    // Trace files of the last computation that could not be written.
    std::vector<std::string> TraceFailures;

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
    // The whole computation of the compute command (without its window steps): turns members
    // hinged at a only, assembles, applies the supports, solves, stores displacements, end
    // results and reactions. The two refusals are reported through Dialogs().
    TSolveStatus Vypocet();

    // ---- View and drawing -----------------------------------------------------------------

    // Display mode back to the model view and the load display scales back to 3 (after SmazVse).
    void ResetDisplayAfterClear();
};
