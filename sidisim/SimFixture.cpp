#include "SimFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace sidisim {

namespace {

[[noreturn]] void fail(const QString &text)
{
    throw std::runtime_error(text.toUtf8().toStdString());
}

} // namespace

SimFixture SimFixture::defaults()
{
    SimFixture f;
    f.users.insert(QStringLiteral("demo"), QStringLiteral("demo"));
    return f;
}

SimFixture SimFixture::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("Impossibile leggere la fixture %1: %2")
                 .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return fromJson(file.readAll());
}

SimFixture SimFixture::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        fail(QStringLiteral("Fixture non valida: %1").arg(error.errorString()));
    const QJsonObject root = doc.object();
    SimFixture f;
    const QJsonObject users = root.value(QLatin1String("users")).toObject();
    for (auto it = users.begin(); it != users.end(); ++it)
        f.users.insert(it.key(), it.value().toString());
    const QJsonObject codes = root.value(QLatin1String("bookingCodes")).toObject();
    for (auto it = codes.begin(); it != codes.end(); ++it)
        f.bookingCodes.insert(it.key(), it.value().toString());
    for (const QJsonValue &v : root.value(QLatin1String("injections")).toArray()) {
        const QJsonObject o = v.toObject();
        SimInjection inj;
        const QString kind = o.value(QLatin1String("kind")).toString();
        if (!SimInjection::kindFromName(kind, &inj.kind))
            fail(QStringLiteral("Fixture non valida: tipo di guasto sconosciuto \"%1\"").arg(kind));
        inj.text = o.value(QLatin1String("text")).toString();
        inj.operation = o.value(QLatin1String("operation")).toString();
        inj.times = o.value(QLatin1String("times")).toInt(-1);
        inj.delayMs = o.value(QLatin1String("delayMs")).toInt(0);
        f.injections.append(inj);
    }
    return f;
}

} // namespace sidisim
