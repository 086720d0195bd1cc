#pragma once
// A control found as the window's own code never reaches it from outside: by its object name,
// which is its name in the tool's documents. Tabs keep their controls private.

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>
#include <string_view>

namespace ombrel::test {

// The control named name under parent. Throws when there is none, so that a renamed control
// fails the test with its name rather than a crash.
template <class T>
T* control(const QObject& parent, std::string_view name) {
    T* found =
        parent.findChild<T*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (found == nullptr) {
        throw std::logic_error("no control named " + std::string(name));
    }
    return found;
}

}  // namespace ombrel::test
