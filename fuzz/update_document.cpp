// The update document's parser. Any text is taken apart without fault; a document written
// from values (in any order, with text between the tags, some tags left out) gives back
// each value, "Error" for each tag left out, and that many errors.

#include "core/ansi_file.h"
#include "fuzz_check.h"
#include "updater/update_check.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const Tags[] = {"Contact", "Name",    "Version1", "Version2", "Download",
                                       "History", "KIssues", "Index",    "Message",  "Uninstall"};
    static QString UpdateDocument::*const Fields[] = {
        &UpdateDocument::ContactUrl,     &UpdateDocument::ProgramName,
        &UpdateDocument::Version1,       &UpdateDocument::Version2,
        &UpdateDocument::DownloadUrl,    &UpdateDocument::HistoryUrl,
        &UpdateDocument::KnownIssuesUrl, &UpdateDocument::HomePageUrl,
        &UpdateDocument::UpdateMessage,  &UpdateDocument::UninstallFirst};
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const UpdateDocument any = parseUpdateDocument(AnsiFile::decode(bytes));
    require(any.ErrorCount >= 0 && any.ErrorCount <= 10, "at most ten errors");

    // The input as values apart by NUL bytes, the tags in the order of the first ten bytes;
    // a value without a "<" stands between its tags, one with a "<" is left out.
    QList<QByteArray> values = bytes.split('\0');
    values.resize(std::max<qsizetype>(values.size(), 11));
    QString document = AnsiFile::decode(values[10]).remove(u'<');
    qint16 missing = 0;
    for (int i = 0; i < 10; ++i) {
        const int tag = (i + (std::size_t(i) < size ? data[i] : 0)) % 10;
        if (values[tag].contains('<') || document.contains(u'<' + QLatin1String(Tags[tag])))
            continue;
        document += u'<' + QLatin1String(Tags[tag]) + u'>' + AnsiFile::decode(values[tag]) + u"</" +
                    QLatin1String(Tags[tag]) + u">\r\n";
    }
    const UpdateDocument parsed = parseUpdateDocument(document);
    for (int tag = 0; tag < 10; ++tag) {
        const bool written = document.contains(u'<' + QLatin1String(Tags[tag]) + u'>');
        missing += written ? 0 : 1;
        require(parsed.*Fields[tag] ==
                    (written ? AnsiFile::decode(values[tag]) : QStringLiteral("Error")),
                Tags[tag], document);
    }
    require(parsed.ErrorCount == missing, "one error for each tag left out", document);
    return 0;
}
