#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <optional>

#include "settings_store.h"

namespace lorvane {

// The settings file away from Windows, laid out like a .reg export:
//
//   ; bench 2, next to the oven
//   [Lorvane]
//   V_Start=dword:fffffe0c
//   Note=sz:two\nlines\0
//
// One group per instance. A number is 8 hex digits of its two's complement; a text is its
// stored UTF-8 bytes with "\\", "\r", "\n" and NUL written as \\, \r, \n and \0. Group and value
// names are written as they are, except that "%", "[", "]", "/", "\", "=", control characters
// and a leading ";" or "#" become %XX, so that no name can open a group, a value line or a
// comment of its own.
//
// People edit the file by hand, so it is kept line by line: a save changes the value lines it
// writes and adds the ones that are missing (at the end of their group, or in a new group at the
// end of the file), and leaves every other line as it was and where it was: comments (lines
// starting with ";" or "#"), blank lines, values and groups this program does not know, and
// lines it cannot read. New lines end like the file's first line (CR LF or LF).
//
// Reading never fails: it takes every value line it understands and passes over the rest. The
// lines below a damaged group header belong to no group, so that they cannot slip into the
// group above. A repeated group counts as one with the first, and of a repeated value name the
// last line counts (and is the one a save changes).
class IniDocument {
  public:
    static IniDocument parse(const QByteArray& text);
    QByteArray toBytes() const;

    // nullopt when the group or the value is missing, or the value line is damaged.
    std::optional<settings_backend::RawValue> value(const QString& group,
                                                    const QString& name) const;
    void setValue(const QString& group, const QString& name,
                  const settings_backend::RawValue& value);
    // Removes every line of the group: its header, its values and the lines among them, with
    // the blank lines just above it. Comments and blank lines that end the group lead into the
    // next one and stay. Returns true when the group was there.
    bool removeGroup(const QString& group);

  private:
    // The lines of the group `header`, each from its header to the line before the next header.
    struct Section {
        qsizetype header;
        qsizetype end;
    };
    QList<Section> sections(const QByteArrayView& header) const;
    // The last line of the section that holds a value or text of its own (not a blank line or a
    // comment); the header when there is none.
    qsizetype lastContent(const Section& section) const;
    void insertLine(qsizetype at, const QByteArray& text);

    // The lines as written, without their line feeds (a CR before one stays).
    QList<QByteArray> lines_;
    bool finalLineFeed_ = true;
};

namespace settings_backend {

// Every open of the settings file (to read it, or to write its replacement) goes through this
// function, so that a test can make the file system refuse an open, as a read-only folder or a
// file without read permission do for everyone but root. Returns the opener it replaces; the
// default simply opens the device.
using FileOpener = bool (*)(QIODevice& file, QIODevice::OpenMode mode);
FileOpener setFileOpener(FileOpener opener);

}  // namespace settings_backend

}  // namespace lorvane
