#include "TZip.h"

#include <QFileInfo>
#include <QSet>

#include <zip.h>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString &text) { throw std::runtime_error(text.toStdString()); }

QString zipErrorText(zip_t *archive)
{
    return QString::fromLocal8Bit(zip_strerror(archive));
}

} // namespace

void TZip::Add()
{
    if (FileName.isEmpty())
        fail(QStringLiteral("Nome dell'archivio non indicato."));

    if (Files.isEmpty())
        fail(QStringLiteral("Nessun file da inserire nell'archivio %1.").arg(FileName));

    // Two files with the same name would silently shadow each other in the archive.
    QSet<QString> names;
    for (const QString &file : Files) {
        const QFileInfo info(file);
        if (!info.isFile())
            fail(QStringLiteral("Il file %1 da inserire nell'archivio non esiste.").arg(file));
        if (names.contains(info.fileName()))
            fail(QStringLiteral("Il file %1 compare due volte nell'archivio.").arg(info.fileName()));
        names.insert(info.fileName());
    }

    int error = 0;
    const QByteArray path = QFile::encodeName(FileName);
    // libzip writes into a temporary file beside the target and renames it on close.
    zip_t *archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        fail(QStringLiteral("Impossibile creare l'archivio %1: %2").arg(FileName, text));
    }
    for (const QString &file : Files) {
        const QByteArray source = QFile::encodeName(file);
        zip_source_t *src = zip_source_file(archive, source.constData(), 0, -1);
        const QByteArray entry = QFileInfo(file).fileName().toUtf8();
        if (!src || zip_file_add(archive, entry.constData(), src, ZIP_FL_ENC_GUESS) < 0) {
            const QString text = zipErrorText(archive);
            if (src)
                zip_source_free(src);
            zip_discard(archive);
            fail(QStringLiteral("Impossibile aggiungere %1 all'archivio %2: %3").arg(file, FileName, text));
        }
    }
    if (zip_close(archive) < 0) {
        const QString text = zipErrorText(archive);
        zip_discard(archive);
        fail(QStringLiteral("Impossibile scrivere l'archivio %1: %2").arg(FileName, text));
    }
}
