#pragma once
// Lets GoogleTest print Qt texts readably in failure messages. Every test program built by
// lorvane_add_test has it in its precompiled headers, so all its files agree on the printer.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}
