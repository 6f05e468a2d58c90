#include "db/data_module.h"

Tdm1* dm1 = nullptr;
