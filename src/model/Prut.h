#pragma once
#include "model/ObjectPool.h"
// A member from node a to node b: geometry (length in m, angle in degrees clockwise from +x),
// end connections, section, loads (owned), the working matrices of the analysis and, after a
// computation, the end results Sa and Sb.
#include <cstdint>
#include <memory>

#include "base/Types.h"
#include "model/ObjectList.h"
#include "model/Profil.h"
#include "model/Uzel.h"
#include "model/Zatizeni.h"

class TPrut {
public:
    KORVAN_POOLED(TPrut)
    TPrut(TUzel* a, TUzel* b, TProfil* section, bool sectionTurned, std::int32_t number);
    ~TPrut();
    TPrut(const TPrut&) = delete;
    TPrut& operator=(const TPrut&) = delete;

    // Geometry and settings.
    void Geometrie();
    void NastavUhel(TReal angle);
    void NastavDelku(TReal length);
    void NastavDeleni(std::int32_t n);

    // Loads.
    TZatizeni* PridejZatizeni(std::uint8_t kind, TZatezovaciStav* loadCase, TReal a, TReal c, TReal q1,
                              TReal q2, TReal angle);
    void SmazZatizeni();
    void SmazVsechnaZatizeni();
    void PridejVlastniTihu(TZatezovaciStav* loadCase);
    // The self-weight intensity of the member's section, kN/m (the section and its material set).
    TReal IntenzitaVlastniTihy() const;
    void SmazVlastniTihu();
    // Swaps the member's ends (nodes, hinges, load positions; load angles grow by 180).
    void OtocPrut();

    // Element matrices (analysis).
    void SestavT();
    void SestavTI();
    void SestavKabL();
    void SestavKabG();
    void SestavMatice();
    void UvolniMatice();
    // Hands the storage of these matrices to another member (whose Sestav* then fill it instead
    // of allocating); this member's are released.
    void PredejMatice(TPrut& to);
    void UvolniT();
    void UvolniTI();
    void UvolniKabL();
    void UvolniKabG();
    // Fixed-end forces (analysis).
    void UpravPolohyZatizeni();
    void SestavMabL();
    void SestavMabG();
    void UvolniMabL();
    void UvolniMabG();
    // End results and the results table along the member (analysis).
    void KoncoveSily();
    void UvolniKoncoveSily();
    // extraStation: one more candidate station (the value at a place between the usual stations,
    // integrated over the same steps as every other).
    void Prubehy(const TReal* extraStation = nullptr);
    void UvolniPrubehy();
    // Both end-result vectors hold six values (a computation has filled them).
    bool HasResults() const { return Sa.size() == 6 && Sb.size() == 6; }

    std::int32_t Divisions = 10;
    TReal Angle = 0.0L;
    TReal Length = 0.0L;
    TUzel* NodeA; // not owned
    TUzel* NodeB; // not owned
    bool HingeA = false;
    bool HingeB = false;
    TProfil* Section; // not owned
    TZatizeni* CurrentLoad = nullptr;
    TLoadList Loads;
    TReal CosA = 1.0L;
    TReal SinA = 0.0L;
    std::int32_t Number;
    bool SectionTurned;
    TMatrix T;
    TMatrix TI;
    TMatrix MabL;
    TMatrix MabG;
    TMatrix kabL;
    TMatrix kabG;
    TVector Sa;
    TVector Sb;
    // The end results were formed on this member turned round (ends swapped, as the computation
    // turns a member hinged only at a) and are read here from this member's own ends; the table
    // along it is then formed on the turned member too (SestavPrubehy). Cleared by KoncoveSily.
    bool ResultsTurned = false;
    TMatrix Results;
    // The loads of the state whose results the member holds, and their factors (LoadCases.h);
    // none: every load once. The fixed-end forces, the end results and the table along the
    // member take only these loads.
    std::shared_ptr<const TLoadFactors> LoadFactors;
};

class TMemberList : public TObjectList<TPrut> {
public:
    using TObjectList<TPrut>::TObjectList;
    // The first member of the given number, or nullptr.
    TPrut* NajdiPrut(std::int32_t number) const;
    // Numbers from list positions, then Geometrie for each member.
    void Precisluj();
    // The first member within 5 pixels of its line and more than 8 pixels inside its ends.
    TPrut* PrutNaPozici(std::int32_t zoom, TReal x, TReal y) const;
};
