#include "ui/LoadInput.h"

#include <cmath>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/GeometryTools.h"

const char* const KNegativeLoadNote =
    "Záporná hodnota zatížení bude převedena na kladnou, rozhodující pro směr zatížení je zadaná orientace. "
    "0° ve směru osy X, kladná rotace je ve směru běhu hodinových ručiček.";
const char* const KLoadBeyondMember =
    "Zatížení přesahuje mimo prut. Neznáte-li přesnou délku prutu, použijte relativní zadání (číslo v "
    "rozsahu 0-1 následované \"/\". Např 1/).";
const char* const KNodeDistributedLoad = "Nemůžete použít tento typ jako uzlové zatížení.";
const char* const KInvalidEntry = "Neplatné zadání.";

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
// else the distance as entered (taken positive when positive is asked for).
bool ReadDistance(const std::string& text, TReal length, bool positive, TReal& value, char separator) {
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
    if (!ReadNumber(t, v, separator)) return false;
    value = positive ? std::fabs(v) : v;
    return true;
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

TLoadReading ReadMemberLoad(const TLoadFields& f, TReal length, TReal gamma, char separator) {
    const bool moment = f.Type == KTypeMoment;
    const bool distributed = f.Type == KTypeDistributed;
    // The note looks at both intensity fields, as a distributed load leaves them.
    const bool note =
        !moment && (IsNegativeNumber(f.Value, separator) || IsNegativeNumber(f.EndValue, separator));

    TLoadRecord load;
    load.Kind = moment ? KLoadMoment : distributed ? KLoadDistributed : KLoadForce;
    TReal value = 0.0L;
    if (!ReadNumber(f.Value, value, separator)) return Invalid(note);
    load.Q1 = moment ? value : std::fabs(value);
    if (distributed) {
        TReal end = 0.0L;
        if (!ReadNumber(f.EndValue, end, separator)) return Invalid(note);
        load.Q2 = std::fabs(end);
    }
    TReal angle = 0.0L;
    if (!moment && !ReadNumber(f.Angle, angle, separator)) return Invalid(note);
    if (!ReadDistance(f.A, length, false, load.A, separator)) return Invalid(note);
    if (distributed && !ReadDistance(f.C, length, true, load.C, separator)) return Invalid(note);

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

TLoadReading ReadNodeLoad(const TLoadFields& f, char separator) {
    const bool note = f.Type == KTypeForce && IsNegativeNumber(f.Value, separator);
    if (f.Type == KTypeDistributed) return Refused(note, KNodeDistributedLoad);
    TLoadRecord load;
    load.Kind = f.Type == KTypeMoment ? KLoadMoment : KLoadForce;
    TReal value = 0.0L;
    if (!ReadNumber(f.Value, value, separator)) return Invalid(note);
    load.Q1 = load.Kind == KLoadForce ? std::fabs(value) : value;
    if (load.Kind == KLoadForce && !ReadNumber(f.Angle, load.Angle, separator)) return Invalid(note);
    TLoadReading r;
    r.Outcome = TLoadOutcome::Load;
    r.NegativeNote = note;
    r.Load = load;
    return r;
}

namespace {
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
    FillEmptyLoadFields(fields);
    const TLoadReading r = ReadMemberLoad(fields, member->Length, member->Angle, separator);
    const TConfirmResult result = Report(r);
    if (result == TConfirmResult::Added) {
        const TLoadRecord& z = r.Load;
        member->PridejZatizeni(z.Kind, nullptr, z.A, z.C, z.Q1, z.Q2, z.Angle);
    }
    return result;
}

TConfirmResult ConfirmNodeLoad(TMKPSpace& space, TLoadFields& fields, char separator) {
    TUzel* node = space.CurrentNode;
    if (!node) return TConfirmResult::NoTarget;
    FillEmptyLoadFields(fields);
    const TLoadReading r = ReadNodeLoad(fields, separator);
    const TConfirmResult result = Report(r);
    if (result == TConfirmResult::Added) node->PridejZatizeni(r.Load.Kind, nullptr, r.Load.Q1, r.Load.Angle);
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
