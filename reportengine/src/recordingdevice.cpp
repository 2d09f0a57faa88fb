#include "recordingdevice.h"

namespace LimeReport {

RecordingDevice::RecordingDevice(QIODevice* target) : m_target(target)
{
    open(QIODevice::WriteOnly);
}

qint64 RecordingDevice::writeData(const char* data, qint64 length)
{
    const qint64 written = m_target->write(data, length);
    if (written > 0)
        m_recorded.append(data, int(written));
    return written;
}

} // namespace LimeReport
