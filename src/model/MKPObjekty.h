#pragma once
// Chief header of the structural model: every entity and list class.
#include "base/Types.h"
#include "model/Material.h"
#include "model/ObjectList.h"
#include "model/PocatekSS.h"
#include "model/Profil.h"
#include "model/Prut.h"
#include "model/Uzel.h"
#include "model/Zatizeni.h"
