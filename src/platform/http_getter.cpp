#include "platform/http_getter.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>
#include <string_view>
#include <utility>

namespace sw48230 {

QtHttpGetter::QtHttpGetter(std::string host, int timeout_ms, qsizetype reply_limit)
    : host_(std::move(host)), timeout_ms_(timeout_ms), reply_limit_(reply_limit) {}

std::string QtHttpGetter::get(const std::string& target, const HttpHeaders& headers) {
  const auto address = Split_Host_Port(host_);
  if (!address) return {};
  const QByteArray request = QByteArray::fromStdString(Http_Get_Request(host_, target, headers));

  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  QByteArray received;
  HttpReply reply;
  bool done = false;
  QTcpSocket socket;
  socket.setProxy(QNetworkProxy::NoProxy);

  const auto finish = [&] {
    done = true;
    loop.quit();
  };
  const auto take = [&](bool closed) {
    if (done) return;
    received += socket.read(reply_limit_ + 1 - received.size());
    // The answer is a few bytes; anything this large is not the version service.
    if (received.size() > reply_limit_) {
      reply = HttpReply{HttpReply::State::Failed, {}};
      finish();
      return;
    }
    reply = Read_Http_Reply(std::string_view(received.constData(), static_cast<std::size_t>(received.size())), closed);
    if (reply.state != HttpReply::State::Incomplete) finish();
  };
  QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] { socket.write(request); });
  QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] { take(false); });
  QObject::connect(&socket, &QTcpSocket::disconnected, &loop, [&] {
    take(true);
    finish();
  });
  QObject::connect(&socket, &QAbstractSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError error) {
    if (error == QAbstractSocket::RemoteHostClosedError) take(true);
    finish();
  });
  QObject::connect(&deadline, &QTimer::timeout, &loop, finish);

  deadline.start(timeout_ms_);
  socket.connectToHost(QString::fromStdString(address->name), address->port);
  if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);

  // Aborting may emit signals; the handlers above must not see them.
  socket.disconnect();
  socket.abort();
  return reply.state == HttpReply::State::Complete ? reply.body : std::string();
}

}  // namespace sw48230
