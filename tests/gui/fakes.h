#pragma once

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

#include "gui/app/context.h"
#include "gui/ui/message_boxes.h"
#include "platform/http_getter.h"
#include "platform/program_starter.h"
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
  void Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo) override {
    calls.push_back({NomeSW, Parameter, tipo});
  }
  std::vector<Call> calls;
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

struct FakeServices {
  FakeMessageBoxes boxes;
  FakeProgramStarter programs;
  FakeUrlOpener browser;
  FakeHttpGetter http;
  Services services() { return Services{boxes, programs, browser, http}; }
};

// Runs `act` on the next modal dialog once it is shown. The test starts the
// dialog afterwards, since exec() blocks until `act` ends it.
inline void when_dialog_shown(std::function<void(QDialog*)> act) {
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
}

}  // namespace sw48230::test
