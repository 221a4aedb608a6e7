// The CSV reader of the batch tool and the appliance catalogue. Any bytes, handed out in
// pieces of any size, read the same as when handed out whole, without fault; and records
// that an RFC 4180 writer made from fields of any text read back as the same fields.

#include "core/csv_reader.h"
#include "fuzz_check.h"

#include <QBuffer>

using namespace torvane;

namespace {

// Every record as its fields joined by a unit separator, or the error and where it stands.
QStringList readAll(QIODevice& device)
{
    CsvReader reader(device);
    QList<QStringView> fields;
    QStringList records;
    for (;;) {
        switch (reader.next(fields)) {
        case CsvReader::Result::End:
            return records;
        case CsvReader::Result::Error:
            return records << u"error at line %1: %2"_qs.arg(reader.line()).arg(reader.error());
        case CsvReader::Result::Record: {
            QStringList record;
            for (QStringView field : fields)
                record.append(field.toString());
            records.append(record.join(QChar(0x1F)));
        }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    QBuffer whole(&bytes);
    Trickle pieces(qint64(1) << (data[0] % 12)); // 1 byte to 2 KiB
    pieces.setData(bytes);
    whole.open(QIODevice::ReadOnly);
    pieces.open(QIODevice::ReadOnly);
    const QStringList read = readAll(whole);
    require(readAll(pieces) == read, "pieces read as the whole", read.join(u'\n'));

    // The input's text as records apart by line feeds, fields by tabs, written as CSV.
    const QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        return 0; // a byte order mark at the start is no part of the first field
    QStringList want;
    QByteArray csv;
    for (const QString& record : text.split(u'\n')) {
        QStringList fields = record.split(u'\t');
        // A record of one empty field would be a blank line, which carries no record.
        if (fields == QStringList{QString()})
            fields.append(QString());
        want.append(fields.join(QChar(0x1F)));
        for (QString& field : fields)
            field = csvField(field);
        csv += fields.join(u',').toUtf8() + "\r\n";
    }
    QBuffer written(&csv);
    written.open(QIODevice::ReadOnly);
    require(readAll(written) == want, "written fields read back", QString::fromUtf8(csv));
    return 0;
}
