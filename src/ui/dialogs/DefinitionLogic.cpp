#include "ui/dialogs/DefinitionLogic.h"

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "units/Prevody.h"

namespace {
const char* const KInvalid = "Neplatné zadání.";

bool Imperial(const TMKPSpace& space) {
    return space.UnitSystem == 1;
}
} // namespace

TDefinitionUnitLabels DefinitionUnitLabels(const TMKPSpace& space) {
    TDefinitionUnitLabels l;
    l.Area = space.SectionLabel + "2";
    l.Iy = space.SectionLabel + "4";
    l.Iz = space.SectionLabel + "4";
    l.Stress = space.StressLabel;
    l.Density = Imperial(space) ? "lb/ft3" : "kg/m3";
    return l;
}

TProfil* CreateSection(TMKPSpace& space, const TSectionFields& fields, char separator) {
    if (!space.CurrentMaterial) {
        Dialogs().Inform("Seznam materiálů je prázdný. Nejdříve vytvořte či načtěte materál z knihovny.");
        return nullptr;
    }
    TReal a = 0.0L, iy = 0.0L, iz = 0.0L;
    if (!TryStrToFloat(fields.A, a, separator) || !TryStrToFloat(fields.Iy, iy, separator) ||
        !TryStrToFloat(fields.Iz, iz, separator)) {
        Dialogs().Inform(KInvalid);
        return nullptr;
    }
    if (Imperial(space)) {
        a = In2NaM2(a);
        iy = In4NaM4(iy);
        iz = In4NaM4(iz);
    }
    if (fields.Name.empty()) {
        Dialogs().Inform("Pojmenujte profil, prosím.");
        return nullptr;
    }
    for (const TProfil* s : space.Sections)
        if (s->Name == fields.Name) {
            Dialogs().Inform("Použijte unikátní jméno. " + fields.Name + " již existuje.");
            return nullptr;
        }
    return space.PridejProfil(fields.Name, space.CurrentMaterial, a, iy, iz);
}

TMaterial* CreateMaterial(TMKPSpace& space, const TMaterialFields& fields, char separator) {
    TReal e = 0.0L, d = 0.0L;
    if (!TryStrToFloat(fields.E, e, separator) || !TryStrToFloat(fields.Density, d, separator)) {
        Dialogs().Inform(KInvalid);
        return nullptr;
    }
    if (Imperial(space)) {
        e = PsiNaMPa(e);
        d = LbFt3NaKgM3(d);
    }
    if (fields.Name.empty()) {
        Dialogs().Inform("Zadejte jméno materiálu, prosím.");
        return nullptr;
    }
    for (const TMaterial* m : space.Materials)
        if (m->Name == fields.Name) {
            Dialogs().Inform("Zvolte unikátní jméno. " + fields.Name + " již existuje.");
            return nullptr;
        }
    return space.PridejMaterial(fields.Name, e, d);
}

TSettingsFields SettingsFieldsOf(const TMKPSpace& space, char separator) {
    TSettingsFields f;
    f.Factor = FormatGeneral(space.WeightCase.Factor, 2, separator);
    f.ShownFactor = f.Factor;
    f.FactorTyped = false;
    f.Division = std::to_string(space.MemberDivision);
    f.UnitSystem = space.UnitSystem;
    return f;
}

TSettingsOutcome ApplySettings(TMKPSpace& space, const TSettingsFields& fields, char separator) {
    TSettingsOutcome out;
    // Step 1: the coefficient. An untouched field keeps the coefficient as it is; the field shows
    // it rounded to two digits, and confirming must not round the model's value. Anything typed
    // is read, also a retyped "1,4" that the field showed for 1.35.
    TReal factor = 0.0L;
    if (!fields.FactorTyped && !fields.ShownFactor.empty() && fields.Factor == fields.ShownFactor) {
        out.FactorApplied = true;
    } else if (TryStrToFloat(fields.Factor, factor, separator)) {
        out.FactorApplied = true;
        out.FactorChanged = factor != space.WeightCase.Factor;
        space.WeightCase.Factor = factor;
    } else {
        Dialogs().Inform(KInvalid);
    }
    // Step 2: the divisions and the unit system.
    int division = 0;
    if (!TryStrToInt(fields.Division, division) || division > KMaxMemberDivision) {
        Dialogs().Inform(KInvalid);
        return out;
    }
    out.DivisionApplied = true;
    space.NastavDeleniPrutu(division);
    const auto system = static_cast<std::uint8_t>(fields.UnitSystem == 1 ? 1 : 0);
    out.UnitSystemChanged = system != space.UnitSystem;
    space.NastavSoustavuJednotek(system);
    for (TPrut* m : space.Members)
        m->NastavDeleni(division);
    return out;
}

TUnitPanelTexts UnitPanelTexts(const TMKPSpace& space) {
    if (Imperial(space)) return {"ft", "lb", "psi"};
    return {"m", "kN", "MPa"};
}
