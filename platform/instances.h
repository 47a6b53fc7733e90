// The one instance of each window class, created on first use and held for
// the program's lifetime, and its entry for the window registry.
#pragma once

#include <QPointer>

#include "core/windows.h"
#include "platform/form.h"

namespace plat {

// The window held in `slot`, created on first use (a window the main window
// has deleted is created anew).
template <class T> T* instance(QPointer<T>& slot) {
    if (!slot) slot = new T();
    return slot;
}

// The registry entry of the window held in `slot` (a global of the window's
// own file): opening creates it, existing() never does.
template <class T> WindowSlot window_slot(QPointer<T>& slot) {
    return WindowSlot([&slot]() -> Form* { return instance(slot); }, [&slot]() -> Form* { return slot.data(); });
}

}  // namespace plat
