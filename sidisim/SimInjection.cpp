#include "SimInjection.h"

#include <array>
#include <utility>

namespace sidisim {

namespace {

const std::array<std::pair<SimInjection::Kind, const char *>, 6> kNames = {{
    {SimInjection::Kind::SoapFault, "soap-fault"},
    {SimInjection::Kind::Http500, "http-500"},
    {SimInjection::Kind::Slow, "slow"},
    {SimInjection::Kind::EmptyBody, "empty"},
    {SimInjection::Kind::NotXml, "not-xml"},
    {SimInjection::Kind::MalformedXml, "malformed"},
}};

} // namespace

bool SimInjection::kindFromName(const QString &name, Kind *kind)
{
    for (const auto &[k, n] : kNames) {
        if (name == QLatin1String(n)) {
            *kind = k;
            return true;
        }
    }
    return false;
}

QString SimInjection::kindName(Kind kind)
{
    for (const auto &[k, n] : kNames) {
        if (k == kind)
            return QString::fromLatin1(n);
    }
    return QString();
}

} // namespace sidisim
