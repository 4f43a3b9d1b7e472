#include "ui/panel/LoadInput.h"

#include <cmath>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/common/GeometryTools.h"
#include "units/Prevody.h"

const char* const KNegativeLoadNote =
    "Záporná hodnota zatížení bude převedena na kladnou, rozhodující pro směr zatížení je zadaná orientace. "
    "0° ve směru osy X, kladná rotace je ve směru běhu hodinových ručiček.";
const char* const KLoadBeyondMember =
    "Zatížení přesahuje mimo prut. Neznáte-li přesnou délku prutu, použijte relativní zadání (číslo v "
    "rozsahu 0-1 následované \"/\". Např 1/).";
const char* const KNodeDistributedLoad = "Nemůžete použít tento typ jako uzlové zatížení.";
const char* const KInvalidEntry = "Neplatné zadání.";
const char* const KSelfWeightNotEditable =
    "Vlastní tíhu konstrukce nelze upravit. Zapíná a vypíná se v nabídce Zatížení, její součinitel se "
    "zadává v Nastavení.";
const char* const KEditedLoadGone = "Upravované zatížení už neexistuje, nic nebylo změněno.";
const char* const KUnknownLoadCase = "Zvolený zatěžovací stav už v modelu není. Vyberte jiný.";

std::vector<std::string> LoadCaseNames(const TMKPSpace& space) {
    std::vector<std::string> names;
    for (const TZatezovaciStav* c : space.LoadCases)
        names.push_back(c->Name);
    return names;
}

std::string LoadCaseName(TMKPSpace& space, const TZatizeni& load) {
    return space.LoadCases.Empty() ? std::string() : space.StavZatizeni(load)->Name;
}

TLoadFieldsShown ShownLoadFields(TLoadTarget target, int type) {
    TLoadFieldsShown s;
    if (target == TLoadTarget::Node) {
        s.Angle = type == KTypeForce;
        return s;
    }
    s.A = true;
    s.Angle = type != KTypeMoment;
    s.EndValue = s.C = s.B = type == KTypeDistributed;
    return s;
}

int TypeOnOpening(TLoadTarget target, int type) {
    return target == TLoadTarget::Node && type == KTypeDistributed ? KTypeForce : type;
}

int TypeOnChoice(TLoadTarget target, int chosen) {
    return target == TLoadTarget::Node && chosen == KTypeDistributed ? KTypeMoment : chosen;
}

const char* LoadDialogCaption(TLoadTarget target) {
    return target == TLoadTarget::Member ? "Zatížení prutu." : "Uzlové zatížení.";
}

const char* LoadEditCaption(TLoadTarget target) {
    return target == TLoadTarget::Member ? "Úprava zatížení prutu." : "Úprava uzlového zatížení.";
}

std::string LoadUnitHint(TLoadTarget target, int type, bool imperial) {
    if (!imperial) return {};
    const bool member = target == TLoadTarget::Member;
    switch (type) {
    case KTypeMoment:
        return member ? "M [lb.ft], A [ft-in]" : "M [lb.ft]";
    case KTypeDistributed:
        return member ? "q1, q2 [lb/ft], A, C [ft-in]" : "";
    default:
        return member ? "P [lb], A [ft-in]" : "P [lb]";
    }
}

void FillEmptyLoadFields(TLoadFields& fields) {
    for (std::string* f : {&fields.Value, &fields.EndValue, &fields.Angle, &fields.A, &fields.C})
        if (f->empty()) *f = "0";
}

namespace {

// A finite number; infinities and NaN are no valid entry (they would poison the computation).
bool ReadNumber(const std::string& text, TReal& value, char separator) {
    TReal v = 0.0L;
    if (!TryStrToFloat(text, v, separator) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool IsNegativeNumber(const std::string& text, char separator) {
    TReal v = 0.0L;
    return ReadNumber(text, v, separator) && v < 0.0L;
}

// A distance along the member: "f/" is the fraction f of the length (taken positive), anything
// else the distance as entered (taken positive when positive is asked for), in metres or as a
// feet-inch text.
bool ReadDistance(const std::string& text, TReal length, bool positive, TReal& value, char separator,
                  bool imperial) {
    std::string t = text;
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.pop_back();
    if (!t.empty() && t.back() == '/') {
        TReal fraction = 0.0L;
        if (!ReadNumber(t.substr(0, t.size() - 1), fraction, separator)) return false;
        value = std::fabs(fraction * length);
        return true;
    }
    TReal v = 0.0L;
    if (imperial ? !TryFtInNaMetry(t, v, separator) : !ReadNumber(t, v, separator)) return false;
    value = positive ? std::fabs(v) : v;
    return true;
}

// A typed load value of the kind in the model's units.
TReal ValueInModelUnits(std::uint8_t kind, TReal typed, bool imperial) {
    if (!imperial) return typed;
    switch (kind) {
    case KLoadMoment:
        return LbFtNaKNm(typed);
    case KLoadForce:
        return LbNaKN(typed);
    default:
        return LbPerFtNaKNPerM(typed);
    }
}

// A stored load value of the kind in the display units.
TReal ValueInDisplayUnits(std::uint8_t kind, TReal stored, bool imperial) {
    if (!imperial) return stored;
    switch (kind) {
    case KLoadMoment:
        return KNmNaLbFt(stored);
    case KLoadForce:
        return KNNaLb(stored);
    default:
        return KNPerMNaLbPerFt(stored);
    }
}

// Relative rounding allowance of the reach check: fractions such as 0,3/ and 0,7/ that meet at
// node b are not refused for a last-digit excess.
constexpr TReal KReachTolerance = 1e-12L;

TLoadReading Invalid(bool note) {
    TLoadReading r;
    r.Outcome = TLoadOutcome::Invalid;
    r.NegativeNote = note;
    r.Message = KInvalidEntry;
    return r;
}

TLoadReading Refused(bool note, const char* message) {
    TLoadReading r;
    r.Outcome = TLoadOutcome::Refused;
    r.NegativeNote = note;
    r.Message = message;
    return r;
}

} // namespace

TLoadReading ReadMemberLoad(const TLoadFields& f, TReal length, TReal gamma, char separator, bool imperial) {
    const bool moment = f.Type == KTypeMoment;
    const bool distributed = f.Type == KTypeDistributed;
    // The note looks at both intensity fields, as a distributed load leaves them.
    const bool note =
        !moment && (IsNegativeNumber(f.Value, separator) || IsNegativeNumber(f.EndValue, separator));

    TLoadRecord load;
    load.Kind = moment ? KLoadMoment : distributed ? KLoadDistributed : KLoadForce;
    TReal value = 0.0L;
    if (!ReadNumber(f.Value, value, separator)) return Invalid(note);
    load.Q1 = ValueInModelUnits(load.Kind, moment ? value : std::fabs(value), imperial);
    if (distributed) {
        TReal end = 0.0L;
        if (!ReadNumber(f.EndValue, end, separator)) return Invalid(note);
        load.Q2 = ValueInModelUnits(load.Kind, std::fabs(end), imperial);
    }
    TReal angle = 0.0L;
    if (!moment && !ReadNumber(f.Angle, angle, separator)) return Invalid(note);
    if (!ReadDistance(f.A, length, false, load.A, separator, imperial)) return Invalid(note);
    if (distributed && !ReadDistance(f.C, length, true, load.C, separator, imperial)) return Invalid(note);

    if (!moment) {
        load.Angle = f.Method == KMethodLocal ? angle : angle - gamma;
        if (f.Method == KMethodProjection) {
            // An intensity per projected length: per member length it is |sin| times as large,
            // whichever way the member runs; the direction stays the one entered.
            const TReal factor = std::fabs(std::sin(DegToRad(load.Angle)));
            load.Q1 *= factor;
            load.Q2 *= factor;
        }
    }

    // Every load lies on the member: a position before node a or past node b, or a distributed
    // load reaching past node b, is refused.
    const TReal allowance = length * KReachTolerance;
    if (load.A < 0.0L || load.A > length + allowance || load.A + load.C > length + allowance)
        return Refused(note, KLoadBeyondMember);
    if (load.A > length) load.A = length;
    if (load.A + load.C > length) load.C = length - load.A;

    TLoadReading r;
    r.Outcome = TLoadOutcome::Load;
    r.NegativeNote = note;
    r.Load = load;
    return r;
}

TLoadReading ReadNodeLoad(const TLoadFields& f, char separator, bool imperial) {
    const bool note = f.Type == KTypeForce && IsNegativeNumber(f.Value, separator);
    if (f.Type == KTypeDistributed) return Refused(note, KNodeDistributedLoad);
    TLoadRecord load;
    load.Kind = f.Type == KTypeMoment ? KLoadMoment : KLoadForce;
    TReal value = 0.0L;
    if (!ReadNumber(f.Value, value, separator)) return Invalid(note);
    load.Q1 = ValueInModelUnits(load.Kind, load.Kind == KLoadForce ? std::fabs(value) : value, imperial);
    if (load.Kind == KLoadForce && !ReadNumber(f.Angle, load.Angle, separator)) return Invalid(note);
    TLoadReading r;
    r.Outcome = TLoadOutcome::Load;
    r.NegativeNote = note;
    r.Load = load;
    return r;
}

namespace {
// The case named by the fields: nullptr in a model without cases; false when the model has cases
// and none of that name (the message is shown).
bool CaseOfFields(TMKPSpace& space, const TLoadFields& fields, TZatezovaciStav*& loadCase) {
    loadCase = nullptr;
    if (space.LoadCases.Empty()) return true;
    for (TZatezovaciStav* c : space.LoadCases)
        if (c->Name == fields.Case) loadCase = c;
    if (!loadCase && space.NajdiZatezovaciStav(fields.Case) == &space.WeightCase)
        loadCase = &space.WeightCase;
    if (!loadCase) Dialogs().Inform(KUnknownLoadCase);
    return loadCase != nullptr;
}

TConfirmResult Report(const TLoadReading& r) {
    if (r.NegativeNote) Dialogs().Inform(KNegativeLoadNote);
    if (!r.Message.empty()) Dialogs().Inform(r.Message);
    switch (r.Outcome) {
    case TLoadOutcome::Load:
        return TConfirmResult::Added;
    case TLoadOutcome::Refused:
        return TConfirmResult::StayOpen;
    case TLoadOutcome::Invalid:
        break;
    }
    return TConfirmResult::Close;
}
} // namespace

TConfirmResult ConfirmMemberLoad(TMKPSpace& space, TLoadFields& fields, char separator) {
    TPrut* member = space.CurrentMember;
    if (!member) return TConfirmResult::NoTarget;
    TZatezovaciStav* loadCase = nullptr;
    if (!CaseOfFields(space, fields, loadCase)) return TConfirmResult::StayOpen;
    FillEmptyLoadFields(fields);
    const TLoadReading r =
        ReadMemberLoad(fields, member->Length, member->Angle, separator, space.UnitSystem == 1);
    const TConfirmResult result = Report(r);
    if (result == TConfirmResult::Added) {
        const TLoadRecord& z = r.Load;
        member->PridejZatizeni(z.Kind, loadCase, z.A, z.C, z.Q1, z.Q2, z.Angle);
    }
    return result;
}

TConfirmResult ConfirmNodeLoad(TMKPSpace& space, TLoadFields& fields, char separator) {
    TUzel* node = space.CurrentNode;
    if (!node) return TConfirmResult::NoTarget;
    TZatezovaciStav* loadCase = nullptr;
    if (!CaseOfFields(space, fields, loadCase)) return TConfirmResult::StayOpen;
    FillEmptyLoadFields(fields);
    const TLoadReading r = ReadNodeLoad(fields, separator, space.UnitSystem == 1);
    const TConfirmResult result = Report(r);
    if (result == TConfirmResult::Added) node->PridejZatizeni(r.Load.Kind, loadCase, r.Load.Q1, r.Load.Angle);
    return result;
}

namespace {

TLoadRecord RecordOf(const TZatizeni& z) {
    TLoadRecord r;
    r.Kind = z.Kind;
    r.A = z.A;
    r.C = z.C;
    r.Q1 = z.Q1;
    r.Q2 = z.Q2;
    r.Angle = z.Angle;
    return r;
}

bool SameRecord(const TLoadRecord& a, const TLoadRecord& b) {
    return a.Kind == b.Kind && a.A == b.A && a.C == b.C && a.Q1 == b.Q1 && a.Q2 == b.Q2 && a.Angle == b.Angle;
}

// The shortest text of the value shown (15 to 18 digits) that reads back, through back, to the
// stored value; the closest one when none does exactly (18 digits cannot hold every 80-bit value).
template <class TBack> std::string ExactText(TReal shown, TReal stored, TBack back, char separator) {
    std::string best;
    TReal bestError = 0.0L;
    for (int digits = 15; digits <= 18; ++digits) {
        std::string text = FormatGeneral(shown, digits, separator);
        TReal read = 0.0L;
        if (!TryStrToFloat(text, read, separator)) continue;
        const TReal error = std::fabs(back(read) - stored);
        if (best.empty() || error < bestError) {
            best = std::move(text);
            bestError = error;
        }
        if (error == 0.0L) break;
    }
    return best;
}

std::string ValueText(std::uint8_t kind, TReal stored, bool imperial, char separator) {
    return ExactText(
        ValueInDisplayUnits(kind, stored, imperial), stored,
        [kind, imperial](TReal typed) { return ValueInModelUnits(kind, typed, imperial); }, separator);
}

std::string DistanceText(TReal metres, bool imperial, char separator) {
    if (imperial) return MetryNaFtInPresne(metres, separator);
    return ExactText(
        metres, metres, [](TReal typed) { return typed; }, separator);
}

} // namespace

TLoadEdit LoadEditOf(TPrut& member, TZatizeni& load) {
    TLoadEdit e;
    e.Target = TLoadTarget::Member;
    e.Member = &member;
    e.Load = &load;
    e.Was = RecordOf(load);
    return e;
}

TLoadEdit LoadEditOf(TUzel& node, TZatizeni& load) {
    TLoadEdit e;
    e.Target = TLoadTarget::Node;
    e.Node = &node;
    e.Load = &load;
    e.Was = RecordOf(load);
    return e;
}

bool LoadEditValid(const TMKPSpace& space, const TLoadEdit& e) {
    if (!e.Load) return false;
    const TLoadList* loads = nullptr;
    if (e.Target == TLoadTarget::Member && e.Member && space.Members.Contains(e.Member))
        loads = &e.Member->Loads;
    if (e.Target == TLoadTarget::Node && e.Node && space.Nodes.Contains(e.Node)) loads = &e.Node->Loads;
    return loads && loads->Contains(e.Load) && SameRecord(RecordOf(*e.Load), e.Was);
}

TLoadFields LoadFieldsOf(const TLoadEdit& e, TLoadFields f, bool imperial, char separator) {
    const TLoadRecord& z = e.Was;
    f.Type = z.Kind == KLoadMoment ? KTypeMoment : z.Kind == KLoadForce ? KTypeForce : KTypeDistributed;
    f.Value = ValueText(z.Kind, z.Q1, imperial, separator);
    if (z.Kind == KLoadDistributed) f.EndValue = ValueText(z.Kind, z.Q2, imperial, separator);
    if (e.Target == TLoadTarget::Node) {
        if (z.Kind == KLoadForce)
            f.Angle = ExactText(
                z.Angle, z.Angle, [](TReal a) { return a; }, separator);
        return f;
    }
    f.A = DistanceText(z.A, imperial, separator);
    if (z.Kind == KLoadDistributed) f.C = DistanceText(z.C, imperial, separator);
    if (f.Method == KMethodProjection) f.Method = KMethodGlobal;
    if (z.Kind == KLoadMoment) return f;
    if (f.Method == KMethodLocal) {
        f.Angle = ExactText(
            z.Angle, z.Angle, [](TReal a) { return a; }, separator);
    } else {
        const TReal gamma = e.Member ? e.Member->Angle : 0.0L;
        f.Angle = ExactText(
            z.Angle + gamma, z.Angle, [gamma](TReal a) { return a - gamma; }, separator);
    }
    return f;
}

TConfirmResult ConfirmLoadEdit(TMKPSpace& space, const TLoadEdit& e, TLoadFields& fields, char separator) {
    if (!LoadEditValid(space, e)) {
        Dialogs().Inform(KEditedLoadGone);
        return TConfirmResult::Close;
    }
    TZatezovaciStav* loadCase = nullptr;
    if (!CaseOfFields(space, fields, loadCase)) return TConfirmResult::StayOpen;
    FillEmptyLoadFields(fields);
    const bool imperial = space.UnitSystem == 1;
    const TLoadReading r =
        e.Target == TLoadTarget::Member
            ? ReadMemberLoad(fields, e.Member->Length, e.Member->Angle, separator, imperial)
            : ReadNodeLoad(fields, separator, imperial);
    const TConfirmResult result = Report(r);
    if (result != TConfirmResult::Added) return result;
    TZatizeni& z = *e.Load;
    z.Kind = r.Load.Kind;
    z.A = r.Load.A;
    z.C = r.Load.C;
    z.Q1 = r.Load.Q1;
    z.Q2 = r.Load.Q2;
    z.Angle = r.Load.Angle;
    if (loadCase) space.NastavStavZatizeni(z, loadCase);
    if (e.Target == TLoadTarget::Member) {
        z.B = e.Member->Length - (z.A + z.C); // as for a load just made
        e.Member->CurrentLoad = &z;
        space.CurrentMember = e.Member;
    } else {
        z.B = 0.0L;
        e.Node->CurrentLoad = &z;
        space.CurrentNode = e.Node;
    }
    return result;
}

bool DeleteCurrentMemberLoad(TMKPSpace& space) {
    TPrut* m = space.CurrentMember;
    if (!m || !m->CurrentLoad) return false;
    m->SmazZatizeni();
    return true;
}

bool DeleteCurrentNodeLoad(TMKPSpace& space) {
    TUzel* n = space.CurrentNode;
    if (!n || !n->CurrentLoad) return false;
    n->SmazZatizeni();
    return true;
}

int DeleteLoadsAtNodeB(TMKPSpace& space) {
    if (!space.CurrentMember) return 0;
    int deleted = 0;
    SmazZatizeniPrutuVUzlu(space, space.CurrentMember->NodeB, &deleted);
    return deleted;
}

bool ModelHasSelfWeight(const TMKPSpace& space) {
    for (const TPrut* m : space.Members)
        for (const TZatizeni* z : m->Loads)
            if (z->Kind == KLoadSelfWeight) return true;
    return false;
}
