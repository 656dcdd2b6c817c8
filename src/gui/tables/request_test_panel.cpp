#include "gui/tables/request_test_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

RequestTestPanel::RequestTestPanel(QWidget* parent, Prober& prober, ShowResult show, Ended ended)
    : QWidget(parent),
      prober_(prober),
      show_(std::move(show)),
      ended_(std::move(ended)),
      Btn_Test(make_named<QPushButton>(this, "Btn_Test")),
      L_Test_Scope(make_named<QLabel>(this, "L_Test_Scope")),
      progress_(make_named<QProgressBar>(this, "PB_Test")),
      L_Test_Summary(make_named<QLabel>(this, "L_Test_Summary")),
      Btn_Stop(make_named<QPushButton>(this, "Btn_Stop")) {
  for (QPushButton* button : {Btn_Test, Btn_Stop}) button->setAutoDefault(false);  // Enter belongs to the grid
  // The summary can be copied into a report.
  L_Test_Summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  L_Test_Summary->setWordWrap(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Btn_Test);
  layout->addWidget(L_Test_Scope);
  layout->addWidget(progress_, 1);
  layout->addWidget(L_Test_Summary, 1);
  layout->addWidget(Btn_Stop);
  connect(Btn_Stop, &QPushButton::clicked, this, &RequestTestPanel::Stop);
  Show_Idle();
}

RequestTestPanel::~RequestTestPanel() {
  for (Run& run : runs_) run.stop->request();
  for (Run& run : runs_) run.thread.join();
}

void RequestTestPanel::Set_Texts(const QString& test, const QString& test_hint, const QString& stop,
                                 const QString& stop_hint, const QString& progress) {
  set_caption(Btn_Test, test, test_hint);
  set_caption(Btn_Stop, stop, stop_hint);
  progress_text_ = progress;
  Show_Progress();
}

void RequestTestPanel::Show_Scope(const QString& scope) { set_caption(L_Test_Scope, scope); }

void RequestTestPanel::Show_Summary(const QString& summary) { set_caption(L_Test_Summary, summary); }

void RequestTestPanel::Start(std::vector<ProbeRequest> requests, ProbeOptions options) {
  Stop();
  const unsigned number = ++run_;
  running_ = true;
  done_ = 0;
  total_ = static_cast<int>(requests.size());
  Btn_Test->setEnabled(false);
  Btn_Stop->setVisible(true);
  progress_->setVisible(true);
  L_Test_Summary->setVisible(false);
  progress_->setRange(0, total_);
  Show_Progress();
  Run& run = runs_.emplace_back();
  run.number = number;
  run.stop = std::make_unique<ProbeStop>();
  ProbeStop* stop = run.stop.get();
  // The posted calls reach this panel only while it lives: the destructor
  // joins the threads before the panel goes, and Qt drops calls queued for
  // an object that is gone.
  run.thread = std::thread([this, number, stop, options, requests = std::move(requests)] {
    prober_.run(requests, options, *stop, [this, number](const ProbeResult& result) {
      QMetaObject::invokeMethod(
          this, [this, number, result] { Result_Arrived(number, result); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, number] { Finished(number); }, Qt::QueuedConnection);
  });
}

// The thread may wait on a server for a while yet; the window must not.
void RequestTestPanel::Stop() {
  if (!running_) return;
  running_ = false;
  runs_.back().stop->request();
  Show_Idle();
  if (ended_) ended_();
}

void RequestTestPanel::Result_Arrived(unsigned run, const ProbeResult& result) {
  if (run != run_ || !running_) return;
  ++done_;
  Show_Progress();
  show_(result);
}

void RequestTestPanel::Finished(unsigned number) {
  const auto run = std::find_if(runs_.begin(), runs_.end(), [number](const Run& r) { return r.number == number; });
  if (run == runs_.end()) return;
  run->thread.join();  // its last step was posting this call
  runs_.erase(run);
  if (number != run_ || !running_) return;
  running_ = false;
  Show_Idle();
  if (ended_) ended_();
}

void RequestTestPanel::Show_Idle() {
  Btn_Test->setEnabled(true);
  Btn_Stop->setVisible(false);
  progress_->setVisible(false);
  L_Test_Summary->setVisible(true);
}

void RequestTestPanel::Show_Progress() {
  progress_->setValue(done_);
  // A language file may leave a number out, which arg() would warn about.
  progress_->setFormat(QString(progress_text_)
                           .replace(QLatin1String("%1"), QString::number(done_))
                           .replace(QLatin1String("%2"), QString::number(total_)));
}

}  // namespace sw48230
