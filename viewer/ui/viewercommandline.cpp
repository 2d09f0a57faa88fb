#include "viewercommandline.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTextStream>

#include "vardoversion.h"

namespace {

const QString standardInput = QStringLiteral("-");
const QString endOfOptions = QStringLiteral("--");

bool isOption(const QString& argument)
{
    return argument.startsWith(QLatin1Char('-')) && argument != standardInput;
}

} // namespace

QString ViewerCommandLine::helpText(const QString& program)
{
    return QStringLiteral(
               "Penggunaan: %1 [opsi] [DOKUMEN.vardo | -]\n"
               "Membuka dokumen Vardo; - membaca dokumen dari masukan standar.\n"
               "\n"
               "Opsi:\n"
               "  -h, --help     menampilkan bantuan ini\n"
               "  -v, --version  menampilkan versi program\n"
               "  --             argumen berikutnya adalah dokumen, walaupun diawali -\n"
               "\n"
               "Kode keluar: 0 selesai, %2 opsi tidak dikenal, %3 dokumen tidak ditemukan "
               "atau tidak dapat dibaca.\n")
        .arg(program)
        .arg(exitUsage)
        .arg(exitNoInput);
}

int ViewerCommandLine::answerOptions(const QStringList& arguments, QTextStream& out,
                                     QTextStream& err)
{
    const QString program = QFileInfo(arguments.value(0)).fileName();
    for (const QString& argument : arguments.mid(1)) {
        if (argument == endOfOptions)
            break;
        if (!isOption(argument))
            continue;
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            out << helpText(program);
            out.flush();
            return 0;
        }
        if (argument == QLatin1String("-v") || argument == QLatin1String("--version")) {
            out << "Vardo Viewer " << VARDO_VERSION << "\n";
            out.flush();
            return 0;
        }
        err << program << ": opsi tidak dikenal: " << argument << "\n"
            << "Lihat '" << program << " --help'.\n";
        err.flush();
        return exitUsage;
    }
    return proceed;
}

QString ViewerCommandLine::documentArgument(const QStringList& arguments)
{
    bool optionsEnded = false;
    for (const QString& argument : arguments.mid(1)) {
        if (!optionsEnded && argument == endOfOptions) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !isOption(argument))
            return argument;
    }
    return QString();
}

int ViewerCommandLine::resolveDocument(const QStringList& arguments, QIODevice* input)
{
    m_windowArguments = QStringList(arguments.value(0));
    const QString document = documentArgument(arguments);
    if (document.isEmpty())
        return proceed;
    if (document != standardInput) {
        if (!QFileInfo(document).isFile()) {
            m_error = QStringLiteral("File '") + document + QStringLiteral("' tidak ditemukan!");
            return exitNoInput;
        }
        m_windowArguments << document;
        return proceed;
    }
    // The viewer opens documents by path; the copy holds only the encrypted bytes.
    m_inputCopy.reset(new QTemporaryDir);
    const QString copy = m_inputCopy->filePath(QStringLiteral("stdin.vardo"));
    QFile file(copy);
    const QByteArray bytes = input && input->isReadable() ? input->readAll() : QByteArray();
    if (bytes.isEmpty() || !m_inputCopy->isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        m_error = QStringLiteral("Dokumen dari masukan standar tidak dapat dibaca.");
        return exitNoInput;
    }
    m_windowArguments << copy;
    return proceed;
}
