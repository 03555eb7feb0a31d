// Runs a fuzz target over the files of its seed corpus, plus a few fixed inputs, without
// libFuzzer: keeps the targets building and their seeds passing in every test run.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray fixed[] = {QByteArray(), QByteArray(1, '\0'), QByteArray(64, '\xff'), QByteArray("\r\n\r\nOK\r\n")};
    for (const QByteArray& input : fixed)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        for (const QString& name : dir.entryList(QDir::Files)) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray input = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
            ++runs;
        }
    }
    std::printf("replayed %d corpus files\n", runs);
    return 0;
}
