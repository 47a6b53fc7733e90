#include "dealer/ui/protocol.h"

#include <QLayout>
#include <QMdiSubWindow>

#include "app/model.h"
#include "core/windows.h"
#include "dealer/ui/menu.h"
#include "platform/form.h"

void menu_child_loaded() {
    menu* m = existing_menu();
    if (!m || !m->isLoaded()) return;
    m->set_list_color(0xC0C0C0);
    m->SetEnabled(false);
}

void menu_child_unloaded() {
    menu* m = existing_menu();
    if (!m || !m->isLoaded()) return;
    m->set_list_color(0xFFFFFF);
    m->SetEnabled(true);
    menu_to_front_later();
}

void give_back_opener() {
    if (g.from_menu != 1) {
        if (plat::Form* b = windows().backgrnd.existing()) b->SetEnabled(true);
    } else {
        menu_child_unloaded();
    }
    g.from_menu = 0;
}

void project_follows() {
    if (windows().refresh_project) windows().refresh_project();
}

void menu_move_home() {
    menu* m = existing_menu();
    if (g.menu_open != 1 || !m || !m->isLoaded()) return;
    m->Move(2180, 90, 5100, 1215);
    fit_window(m);
}

namespace {
constexpr const char* kKeepsFocus = "heater_keeps_focus";
}

void keep_focus(plat::Form* self, bool on) { self->setProperty(kKeepsFocus, on); }

bool keeps_focus(const plat::Form* f) { return f && f->property(kKeepsFocus).toBool(); }

void reclaim_focus(plat::Form* self) {
    if (!self->isLoaded()) return;
    plat::Form* now = plat::MainWindow::instance()->activeForm();
    if (now == self || keeps_focus(now)) return;
    self->ZOrder(0);
}

void fit_window(plat::Form* f) {
    QMdiSubWindow* sub = f->subWindow();
    if (!sub) return;
    QLayout* l = f->layout();
    // A control shown or hidden since the last layout counts: every nested
    // layout forgets the sizes it kept.
    for (QLayout* inner : f->findChildren<QLayout*>()) inner->invalidate();
    QSize need = l ? l->minimumSize() : f->minimumSizeHint();
    if (!need.isValid()) return;
    // Wrapped labels: the height their text needs at the width given.
    if (l && l->hasHeightForWidth()) {
        const QMargins m = sub->contentsMargins();
        const int w = std::max(need.width(), sub->width() - m.left() - m.right());
        need.setHeight(std::max(need.height(), l->totalHeightForWidth(w)));
    }
    const QMargins m = sub->contentsMargins();
    need += QSize(m.left() + m.right(), m.top() + m.bottom());
    const QSize now = sub->size();
    if (now.width() >= need.width() && now.height() >= need.height()) return;
    sub->resize(now.expandedTo(need));
}
