#include "recordingdevice.h"

namespace LimeReport {

RecordingDevice::RecordingDevice(QIODevice* target) : m_target(target)
{
    open(QIODevice::WriteOnly);
    if (!m_copy.open())
        keepCopyError();
}

qint64 RecordingDevice::writeData(const char* data, qint64 length)
{
    const qint64 written = m_target->write(data, length);
    if (written > 0 && m_copyError.isEmpty() && m_copy.write(data, written) != written)
        keepCopyError();
    return written;
}

QByteArray RecordingDevice::recorded()
{
    if (!m_copyError.isEmpty())
        return QByteArray();
    if (!m_copy.flush()) {
        keepCopyError();
        return QByteArray();
    }
    const uchar* mapped = m_copy.map(0, m_copy.size());
    if (!mapped) {
        keepCopyError();
        return QByteArray();
    }
    return QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), int(m_copy.size()));
}

void RecordingDevice::keepCopyError()
{
    m_copyError = m_copy.errorString();
}

} // namespace LimeReport
