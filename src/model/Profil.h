#pragma once
// A cross-section: area A in m², second moments Iy (bending) and Iz (used when the member's section
// is turned) in m⁴, and its material (not owned).
#include <string>

#include "base/Types.h"
#include "model/Material.h"
#include "model/ObjectList.h"

class TProfil {
public:
    TProfil(std::string name, TMaterial* material, TReal a, TReal iy, TReal iz)
        : Name(std::move(name)), Material(material), A(a), Iy(iy), Iz(iz) {}
    std::string Name;
    TMaterial* Material; // not owned
    TReal A;
    TReal Iy;
    TReal Iz;
};

class TCSectionList : public TObjectList<TProfil> {
public:
    using TObjectList<TProfil>::TObjectList;
    // The first section whose name equals the argument exactly (case-sensitive), or nullptr.
    TProfil* NajdiProfil(const std::string& name) const {
        for (TProfil* p : *this)
            if (p->Name == name) return p;
        return nullptr;
    }
};
