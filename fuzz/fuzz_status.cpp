// The update server's answer to the status check, as it arrives over the network.
#include "applicationversion.h"
#include "fuzzsupport.h"

#include <QNetworkReply>

#include <cstring>

namespace {

// A finished reply whose body is the fuzzer's input.
class CannedReply : public QNetworkReply
{
public:
    explicit CannedReply(const QByteArray& body) : m_body(body)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        setFinished(true);
    }
    void abort() override {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_body.size() - m_offset + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = qMin<qint64>(maxSize, m_body.size() - m_offset);
        std::memcpy(data, m_body.constData() + m_offset, size_t(count));
        m_offset += count;
        return count;
    }

private:
    QByteArray m_body;
    qint64 m_offset = 0;
};

ApplicationVersion* registry = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Core);
    registry = new ApplicationVersion;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CannedReply reply(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    registry->statusFinished(&reply);
    registry->isHasUpdate();
    return 0;
}
