#ifndef RECORDINGDEVICE_H
#define RECORDINGDEVICE_H

#include <QByteArray>
#include <QIODevice>

namespace LimeReport {

// Passes everything written on to another device and keeps a copy of it, for a
// writer that must read back what it wrote into a file it cannot read from.
class RecordingDevice : public QIODevice
{
public:
    explicit RecordingDevice(QIODevice* target);

    const QByteArray& recorded() const { return m_recorded; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    QIODevice* m_target;
    QByteArray m_recorded;
};

} // namespace LimeReport

#endif // RECORDINGDEVICE_H
