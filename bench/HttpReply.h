#ifndef KURVO_BENCH_HTTPREPLY_H
#define KURVO_BENCH_HTTPREPLY_H

#include <QByteArray>
#include <QRegularExpression>
#include <QTcpSocket>

// An HTTP reply as a client reads it: its status and body; status 0 when none came whole.
struct HttpReply
{
    int status = 0;
    QByteArray body;
};

// Reads one reply from `socket`, up to the length its header gives, waiting at most 5 s for
// each part; the connection stays open for the next request.
inline HttpReply ReadHttpReply(QTcpSocket& socket)
{
    static const QRegularExpression length(QStringLiteral("\r\nContent-Length: *([0-9]+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QByteArray bytes;
    while (socket.waitForReadyRead(5000)) {
        bytes += socket.readAll();
        const qsizetype headerEnd = bytes.indexOf("\r\n\r\n");
        const QRegularExpressionMatch match
            = length.match(QString::fromLatin1(bytes.left(headerEnd)));
        if (headerEnd > 0 && bytes.startsWith("HTTP/1.1 ") && match.hasMatch()
            && bytes.size() - headerEnd - 4 >= match.captured(1).toLongLong())
            return {bytes.mid(9, 3).toInt(), bytes.mid(headerEnd + 4)};
    }
    return {};
}

#endif
