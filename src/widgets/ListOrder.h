#pragma once
// The order a sorting list or tree control gives its texts, by its Sorted switch or a click on
// a column header: alphabetical, without regard to case.

#include <QString>

namespace ombrel::widgets {

inline bool sortsBefore(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

}  // namespace ombrel::widgets
