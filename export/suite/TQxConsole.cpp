#include "TQxConsole.h"

#include <QFile>

#include <stdexcept>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

TQxProgressLine::TQxProgressLine(std::FILE *out)
    : m_out(out), m_terminal(::isatty(::fileno(out)) == 1)
{
}

TQxProgressLine::~TQxProgressLine()
{
    Finish();
}

void TQxProgressLine::Write(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

void TQxProgressLine::Finish()
{
    if (m_open) {
        Write(QStringLiteral("\n"));
        m_open = false;
    }
}

void TQxProgressLine::Status(const QString &text)
{
    Finish();
    Write(text + QLatin1Char('\n'));
    m_lastText = text;
    m_lastPrinted = -1;
}

void TQxProgressLine::Progress(const QString &text, qint64 n, qint64 total)
{
    const QString counter = total > 0 ? QStringLiteral("%1/%2").arg(n).arg(total) : QString::number(n);
    if (m_terminal) {
        Write(QStringLiteral("\r\x1b[K%1 %2").arg(text, counter));
        m_open = true;
        return;
    }
    // Plain output: the first count of a status, then one line per thousand.
    if (text != m_lastText || m_lastPrinted < 0 || n / 1000 != m_lastPrinted / 1000) {
        Write(QStringLiteral("%1 %2\n").arg(text, counter));
        m_lastText = text;
        m_lastPrinted = n;
    }
}

void TQxProgressLine::Message(const QString &line)
{
    Finish();
    QString text = line;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Write(text + QLatin1Char('\n'));
}

namespace TQxSecrets {

QString ReadFirstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Impossibile leggere il file della password %1: %2")
                                     .arg(path, file.errorString()).toStdString());
    QByteArray line = file.readLine(64 * 1024);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QString ReadFromTerminal(const QString &prompt)
{
    const int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error(QStringLiteral("Nessun terminale da cui leggere la password: "
                                                "indicare un file con la password.").toStdString());
    const QByteArray p = prompt.toLocal8Bit();
    (void)!::write(fd, p.constData(), size_t(p.size()));
    termios old{};
    const bool tty = ::tcgetattr(fd, &old) == 0;
    if (tty) {
        termios silent = old;
        silent.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(fd, TCSAFLUSH, &silent);
    }
    QByteArray line;
    char c;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line.append(c);
    if (tty)
        ::tcsetattr(fd, TCSAFLUSH, &old);
    (void)!::write(fd, "\n", 1);
    ::close(fd);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace TQxSecrets
