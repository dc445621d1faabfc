#include "main/shared_objects.h"

clsRegistry& oRegistry() {
    static clsRegistry instance;
    return instance;
}

cIni& oIni() {
    static cIni instance;
    return instance;
}
