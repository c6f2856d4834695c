#include "TZip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Entry name -> content, read back with libzip.
QMap<QString, QByteArray> readArchive(const QString &path)
{
    QMap<QString, QByteArray> entries;
    int error = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!z)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, zip_uint64_t(i), 0, &st);
        QByteArray data(qsizetype(st.size), '\0');
        zip_file_t *f = zip_fopen_index(z, zip_uint64_t(i), 0);
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        entries.insert(QString::fromUtf8(st.name), data);
    }
    zip_close(z);
    return entries;
}

} // namespace

class TestZip : public QObject
{
    Q_OBJECT
private slots:
    void writesEntriesWithoutFolders()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Flussi"));
        const QString a = dir.filePath(QStringLiteral("Flussi/001TB_USR_USER.txt"));
        const QString b = dir.filePath(QStringLiteral("Flussi/002TB_ALU_ALUNNI.txt"));
        const QString empty = dir.filePath(QStringLiteral("Flussi/descrittore.txt"));
        writeFile(a, "A|B|\r\n");
        writeFile(b, QByteArray("\xe0|\r\n", 4));
        writeFile(empty, QByteArray());

        TZip zip;
        zip.FileName = dir.filePath(QStringLiteral("archivio.zip"));
        zip.Files = {empty, a, b};
        zip.Add();

        const auto entries = readArchive(zip.FileName);
        QCOMPARE(entries.keys(), QStringList({"001TB_USR_USER.txt", "002TB_ALU_ALUNNI.txt", "descrittore.txt"}));
        QCOMPARE(entries.value("001TB_USR_USER.txt"), QByteArray("A|B|\r\n"));
        QCOMPARE(entries.value("002TB_ALU_ALUNNI.txt"), QByteArray("\xe0|\r\n", 4));
        QCOMPARE(entries.value("descrittore.txt"), QByteArray());
    }

    void keepsEntryOrder()
    {
        QTemporaryDir dir;
        QStringList files;
        for (const char *name : {"c.txt", "a.txt", "b.txt"}) {
            files << dir.filePath(QString::fromLatin1(name));
            writeFile(files.last(), name);
        }
        TZip zip;
        zip.FileName = dir.filePath(QStringLiteral("o.zip"));
        zip.Files = files;
        zip.Add();
        int error = 0;
        zip_t *z = zip_open(QFile::encodeName(zip.FileName).constData(), ZIP_RDONLY, &error);
        QVERIFY(z);
        QCOMPARE(QString::fromUtf8(zip_get_name(z, 0, 0)), QStringLiteral("c.txt"));
        QCOMPARE(QString::fromUtf8(zip_get_name(z, 2, 0)), QStringLiteral("b.txt"));
        zip_close(z);
    }

    // A failure leaves no archive, and an archive already there stays as it was.
    void failureLeavesNothingHalfWritten_data()
    {
        QTest::addColumn<bool>("existingArchive");
        QTest::newRow("new archive") << false;
        QTest::newRow("archive already there") << true;
    }
    void failureLeavesNothingHalfWritten()
    {
        QFETCH(bool, existingArchive);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("x.zip"));
        if (existingArchive)
            writeFile(target, "old");
        const QString a = dir.filePath(QStringLiteral("a.txt"));
        writeFile(a, "a");
        TZip zip;
        zip.FileName = target;
        zip.Files = {a, dir.filePath(QStringLiteral("missing.txt"))};
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, zip.Add());
        if (existingArchive) {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("old"));
        } else {
            QVERIFY(!QFile::exists(target));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), existingArchive ? 2 : 1);
    }

    void refusesBadInput_data()
    {
        QTest::addColumn<QString>("folder");   // where the archive goes, under the temp dir
        QTest::addColumn<bool>("duplicate");
        QTest::addColumn<bool>("noFiles");
        QTest::newRow("same name twice") << "" << true << false;
        QTest::newRow("no files") << "" << false << true;
        QTest::newRow("folder missing") << "manca/" << false << false;
    }
    void refusesBadInput()
    {
        QFETCH(QString, folder);
        QFETCH(bool, duplicate);
        QFETCH(bool, noFiles);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("s1"));
        QDir(dir.path()).mkpath(QStringLiteral("s2"));
        writeFile(dir.filePath(QStringLiteral("s1/a.txt")), "1");
        writeFile(dir.filePath(QStringLiteral("s2/a.txt")), "2");
        TZip zip;
        zip.FileName = dir.filePath(folder + QStringLiteral("x.zip"));
        if (!noFiles)
            zip.Files << dir.filePath(QStringLiteral("s1/a.txt"));
        if (duplicate)
            zip.Files << dir.filePath(QStringLiteral("s2/a.txt"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, zip.Add());
        QVERIFY(!QFile::exists(zip.FileName));
    }
};

QTEST_GUILESS_MAIN(TestZip)
#include "test_zip.moc"
