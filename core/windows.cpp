#include "core/windows.h"

WindowRegistry& windows() {
    static WindowRegistry r;
    return r;
}
