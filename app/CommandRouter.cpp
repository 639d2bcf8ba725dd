// CCommandRouter: delivers commands by id to their handlers and asks their update handlers.
#include "app/CommandRouter.h"

#include <QAction>

void CCommandRouter::Add(unsigned id, Handler handler, Predicate enabled, Predicate checked) {
    m_entries[id] = Entry{std::move(handler), std::move(enabled), std::move(checked)};
}

bool CCommandRouter::IsEnabled(unsigned id) const {
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || !it->second.handler) {
        return false;
    }
    return !it->second.enabled || it->second.enabled();
}

bool CCommandRouter::IsChecked(unsigned id) const {
    const auto it = m_entries.find(id);
    return it != m_entries.end() && it->second.checked && it->second.checked();
}

bool CCommandRouter::Execute(unsigned id) {
    if (!IsEnabled(id)) {
        return false;
    }
    // The handler may replace the table entry (never done today), so run a copy.
    const Handler handler = m_entries[id].handler;
    handler();
    emit commandDone(id);
    return true;
}

void CCommandRouter::Post(unsigned id) {
    // A router destroyed before delivery drops the call: it is the call's context object.
    QMetaObject::invokeMethod(
        this, [this, id] { Execute(id); }, Qt::QueuedConnection);
}

void CCommandRouter::UpdateAction(QAction* action) const {
    const unsigned id = CommandOf(action);
    if (id == 0) {
        return;
    }
    action->setEnabled(IsEnabled(id));
    const auto it = m_entries.find(id);
    const bool checkable = it != m_entries.end() && static_cast<bool>(it->second.checked);
    action->setCheckable(checkable);
    if (checkable) {
        action->setChecked(IsChecked(id));
    }
}

unsigned CCommandRouter::CommandOf(const QAction* action) {
    bool ok = false;
    const unsigned id = action != nullptr ? action->data().toUInt(&ok) : 0;
    return ok ? id : 0;
}
