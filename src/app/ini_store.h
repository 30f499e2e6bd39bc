#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "settings_store.h"

namespace lorvane {

// The settings file away from Windows, laid out like a .reg export:
//
//   [Lorvane]
//   V_Start=dword:fffffe0c
//   Note=sz:two\nlines\0
//
// One group per instance. A number is 8 hex digits of its two's complement; a text is its
// stored UTF-8 bytes with "\\", "\r", "\n" and NUL written as \\, \r, \n and \0. Group and value
// names are written as they are, except that "%", "[", "]", "/", "\", "=" and control characters
// become %XX, so that no name can open a group or a value line of its own.
//
// Parsing never fails: it keeps every group and value line it understands and drops the rest.
// A damaged group header drops the lines below it up to the next good header, so that they
// cannot slip into the group above. A repeated group is merged into the first one and a
// repeated value name keeps its last line. Value lines are kept as written, so values of types
// this program does not know survive a rewrite.
class IniDocument {
  public:
    static IniDocument parse(const QByteArray& text);
    QByteArray toBytes() const;

    // nullopt when the group or the value is missing, or the value line is damaged.
    std::optional<settings_backend::RawValue> value(const QString& group,
                                                    const QString& name) const;
    void setValue(const QString& group, const QString& name,
                  const settings_backend::RawValue& value);
    // Returns true when the group was there.
    bool removeGroup(const QString& group);

  private:
    struct Entry {
        QByteArray name;
        QByteArray value;  // the text after "=", as written
    };
    struct Group {
        QByteArray header;  // the text between "[" and "]", as written
        QList<Entry> entries;
    };

    // The index of the group, appended when missing.
    qsizetype groupIndex(const QByteArray& header);
    static void setEntry(Group& group, const QByteArray& name, const QByteArray& value);

    QList<Group> groups_;
};

}  // namespace lorvane
