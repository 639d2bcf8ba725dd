// CCommandRouter: delivers commands by id to their handlers and asks their update handlers.
#pragma once

#include <QObject>
#include <functional>
#include <map>

class QAction;

class CCommandRouter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    using Predicate = std::function<bool()>;

    explicit CCommandRouter(QObject* parent = nullptr) : QObject(parent) {}

    // Routes id to handler; without an enabled predicate the command is always enabled, without
    // a checked predicate it is not a check item.
    void Add(unsigned id, Handler handler, Predicate enabled = {}, Predicate checked = {});

    // A command without a handler is disabled, as the framework does for unhandled ids.
    bool IsEnabled(unsigned id) const;
    bool IsChecked(unsigned id) const;
    // Runs the handler now when the command is enabled; false when it was not run.
    bool Execute(unsigned id);
    // Runs the command after the current event has been handled, so whatever triggered it (a
    // menu, a key, a test pressing a button) never waits for a modal dialog it opens.
    void Post(unsigned id);

    // Enables (and checks) an action carrying a command id in its data.
    void UpdateAction(QAction* action) const;
    static unsigned CommandOf(const QAction* action);

signals:
    // A command handler has returned.
    void commandDone(unsigned id);

private:
    struct Entry {
        Handler handler;
        Predicate enabled;
        Predicate checked;
    };
    std::map<unsigned, Entry> m_entries;
};
