#ifndef RECORDINGDEVICE_H
#define RECORDINGDEVICE_H

#include <QByteArray>
#include <QIODevice>
#include <QTemporaryFile>

namespace LimeReport {

// Passes everything written on to another device and keeps a copy of it, for a
// writer that must read back what it wrote into a file it cannot read from. The copy
// goes to a temporary file rather than to memory: a report of many thousand pages
// makes a PDF of hundreds of megabytes.
class RecordingDevice : public QIODevice
{
public:
    explicit RecordingDevice(QIODevice* target);

    // What was written, mapped from the copy and valid while this device lives; empty
    // when the copy could not be kept, with the reason in copyError().
    QByteArray recorded();
    QString copyError() const { return m_copyError; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    void keepCopyError();

    QIODevice* m_target;
    QTemporaryFile m_copy;
    QString m_copyError;
};

} // namespace LimeReport

#endif // RECORDINGDEVICE_H
