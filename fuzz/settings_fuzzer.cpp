// The settings file: read as it stands, written back, and read again; and one value stored in
// it, with any group name, value name and value, read back after a write.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "ini_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using lorvane::IniDocument;
    using lorvane::settings_backend::RawValue;
    FuzzedDataProvider input(data, size);
    const QString group = QString::fromStdString(input.ConsumeRandomLengthString(40));
    const QString name = QString::fromStdString(input.ConsumeRandomLengthString(40));
    RawValue value;
    if (input.ConsumeBool()) {
        value = input.ConsumeIntegral<uint32_t>();
    } else {
        const std::string text = input.ConsumeRandomLengthString(200);
        value = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    }
    const std::vector<char> rest = input.ConsumeRemainingBytes<char>();
    const QByteArray file(rest.data(), static_cast<qsizetype>(rest.size()));

    IniDocument doc = IniDocument::parse(file);
    const QByteArray written = doc.toBytes();
    FUZZ_CHECK(IniDocument::parse(written).toBytes() == written,
               "a settings file read and written back reads the same");

    doc.setValue(group, name, value);
    const IniDocument reread = IniDocument::parse(doc.toBytes());
    FUZZ_CHECK(reread.value(group, name) == value, "a stored value reads back as stored");
    FUZZ_CHECK(reread.toBytes() == doc.toBytes(), "a stored value is written as one line");

    IniDocument removed = reread;
    FUZZ_CHECK(removed.removeGroup(group) && !removed.value(group, name),
               "a removed group is gone");
    return 0;
}
