#pragma once

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../support/fake_clock.h"
#include "core/i18n/message_table.h"
#include "core/probe/prober.h"
#include "core/update/ping.h"
#include "gui/ui/context.h"
#include "gui/ui/file_dialogs.h"
#include "gui/ui/message_boxes.h"
#include "platform/http_getter.h"
#include "platform/program_starter.h"
#include "platform/serial_ports.h"
#include "platform/url_opener.h"

namespace sw48230::test {

// Records every box and answers questions from a queue (No when empty).
class FakeMessageBoxes final : public MessageBoxes {
 public:
  void error(QWidget*, const QString& text) override { errors.append(text); }
  void warning(QWidget*, const QString& text) override { warnings.append(text); }
  bool question(QWidget*, const QString& text) override {
    questions.append(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QStringList errors;
  QStringList warnings;
  QStringList questions;
  std::deque<bool> answers;
};

class FakeProgramStarter final : public ProgramStarter {
 public:
  struct Call {
    QString program;
    QString arguments;
    bool hidden;
  };
  ProgramRun Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) override {
    calls.push_back({NomeSW, Parameter, tipo});
    return result;
  }
  std::vector<Call> calls;
  ProgramRun result;  // what every call returns
};

class FakeUrlOpener final : public UrlOpener {
 public:
  void open_url(const QString& url) override { urls.append(url); }
  QStringList urls;
};

// Answers GETs from a queue (an empty body, as after a failure, when it
// runs dry) and records each target.
class FakeHttpGetter final : public HttpGetter {
 public:
  std::string host() const override { return "127.0.0.1:8080"; }
  std::string get(const std::string& target, const HttpHeaders&) override {
    targets.push_back(target);
    if (replies.empty()) return {};
    std::string reply = replies.front();
    replies.pop_front();
    return reply;
  }
  std::deque<std::string> replies;
  std::vector<std::string> targets;
};

class FakeSerialPorts final : public SerialPorts {
 public:
  std::vector<SerialPort> EnumPorts() override {
    ++enumerations;
    return ports;
  }
  std::vector<SerialPort> ports;
  int enumerations = 0;
};

// Answers each echo request at once with the next of `replies`, then with
// `answer`; records what was sent. Never touches the network.
class FakeEchoSender final : public EchoSender {
 public:
  std::optional<Failure> open(const std::string& target) override {
    targets.push_back(target);
    if (open_error.empty()) return std::nullopt;
    return Echo_Failed(target, open_error);
  }
  std::optional<Failure> send(std::uint16_t, std::string_view payload, std::size_t) override {
    payloads.emplace_back(payload);
    if (replies.empty()) {
      pending_ = answer;
    } else {
      pending_ = replies.front();
      replies.pop_front();
    }
    return std::nullopt;
  }
  EchoReply poll() override { return std::exchange(pending_, EchoReply::None); }
  void close() override {}

  EchoReply answer = EchoReply::None;
  std::deque<EchoReply> replies;
  std::string open_error;  // open fails with it when set
  std::vector<std::string> targets;
  std::vector<std::string> payloads;

 private:
  EchoReply pending_ = EchoReply::None;
};

// Answers each file dialog with the next of `paths` (cancelled when it runs
// dry) and records how each was asked.
class FakeFileDialogs final : public FileDialogs {
 public:
  struct Call {
    bool save;
    QString title;
    QString start;
    QString filter;
  };
  QString open_file(QWidget*, const QString& title, const QString& start, const QString& filter) override {
    return answer({false, title, start, filter});
  }
  QString save_file(QWidget*, const QString& title, const QString& start, const QString& filter) override {
    return answer({true, title, start, filter});
  }
  std::deque<QString> paths;
  std::vector<Call> calls;

 private:
  QString answer(Call call) {
    calls.push_back(std::move(call));
    if (paths.empty()) return {};
    QString path = paths.front();
    paths.pop_front();
    return path;
  }
};

struct FakeServices {
  FakeMessageBoxes boxes;
  FakeProgramStarter programs;
  FakeUrlOpener browser;
  FakeHttpGetter http;
  FakeSerialPorts serial_ports;
  FakeEchoSender echo;
  FakeClock clock;
  // The screens' probes go to real servers, which the tests run on 127.0.0.1.
  ModbusProber prober;
  FakeFileDialogs files;
  Services services() { return Services{boxes, programs, browser, http, serial_ports, echo, clock, prober, files}; }
};

// The built-in English text of a message.
inline QString default_text(int index) {
  return QString::fromStdString(default_messages().at(static_cast<std::size_t>(index)));
}

// What the window system does when the user minimises a screen and brings
// it back: a show that no opening caused. True when the screen saw that
// show, so a test cannot pass without one.
inline bool minimise_and_restore(QWidget* screen) {
  struct ShowCounter final : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Show) ++shows;
      return false;
    }
  } counter;
  screen->installEventFilter(&counter);
  screen->setWindowState(Qt::WindowMinimized);
  screen->setWindowState(Qt::WindowNoState);
  QCoreApplication::processEvents();
  screen->removeEventFilter(&counter);
  return counter.shows > 0;
}

// Runs `act` on the next modal dialog once it is shown. The test starts the
// dialog afterwards, since exec() blocks until `act` ends it. The watcher
// ends itself once it has acted; a test that may show no dialog deletes it.
inline QTimer* when_dialog_shown(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
  return timer;
}

}  // namespace sw48230::test
