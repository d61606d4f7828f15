#include "dialogs/command_table.h"

#include <cstdio>
#include <cstdlib>

namespace tamix {

void CommandTable::declare(Command command) {
    if (find(command.name)) {
        std::fprintf(stderr, "command %s declared twice\n", qPrintable(command.name));
        std::abort();
    }
    commands_.push_back(std::move(command));
}

Command& CommandTable::at(const QString& name) {
    for (Command& c : commands_)
        if (c.name == name) return c;
    std::fprintf(stderr, "no command named %s\n", qPrintable(name));
    std::abort();
}

void CommandTable::bind(const QString& name, std::function<void()> run, std::function<bool()> enabled) {
    Command& c = at(name);
    c.run = std::move(run);
    if (enabled) c.enabled = std::move(enabled);
}

void CommandTable::setEnabledRule(const QString& name, std::function<bool()> enabled) {
    at(name).enabled = std::move(enabled);
}

void CommandTable::setChecked(const QString& name, std::function<bool()> checked) {
    at(name).checked = std::move(checked);
}

void CommandTable::setText(const QString& name, std::function<QString()> text) {
    at(name).text = std::move(text);
}

const Command* CommandTable::find(const QString& name) const {
    for (const Command& c : commands_)
        if (c.name == name) return &c;
    return nullptr;
}

const Command* CommandTable::findKey(const QString& key) const {
    if (key.isEmpty()) return nullptr;
    for (const Command& c : commands_)
        if (c.key == key) return &c;
    return nullptr;
}

bool CommandTable::isEnabled(const Command& command) {
    if (!command.isMenu && !command.run) return false;
    return !command.enabled || command.enabled();
}

bool CommandTable::run(const QString& name) const {
    const Command* c = find(name);
    if (!c || !isEnabled(*c) || !c->run) return false;
    c->run();
    return true;
}

}  // namespace tamix
