#include "model/MKPSpace.h"

void TMKPSpace::ResetDisplayAfterClear() {}
