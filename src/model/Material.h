#pragma once
// A material: modulus of elasticity E in MPa and density D in kg/m³.
#include <string>

#include "base/Types.h"
#include "model/ObjectList.h"

class TMaterial {
public:
    TMaterial(std::string name, TReal e, TReal d) : Name(std::move(name)), E(e), D(d) {}
    std::string Name;
    TReal E;
    TReal D;
};

class TMaterialList : public TObjectList<TMaterial> {
public:
    using TObjectList<TMaterial>::TObjectList;
    // The first material whose name equals the argument exactly (case-sensitive), or nullptr.
    TMaterial* NajdiMaterial(const std::string& name) const {
        for (TMaterial* m : *this)
            if (m->Name == name) return m;
        return nullptr;
    }
};
