#include "gui/tables/request_test_panel.h"

#include <QHBoxLayout>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

#include "gui/ui/texts.h"
#include "gui/ui/widgets.h"

namespace sw48230 {

RequestTestPanel::RequestTestPanel(QWidget* parent, Prober& prober, ShowResult show)
    : QWidget(parent),
      prober_(prober),
      show_(std::move(show)),
      Btn_Test(make_named<QPushButton>(this, "Btn_Test")),
      Btn_Stop(make_named<QPushButton>(this, "Btn_Stop")),
      progress_(make_named<QProgressBar>(this, "PB_Test")) {
  for (QPushButton* button : {Btn_Test, Btn_Stop}) button->setAutoDefault(false);  // Enter belongs to the grid
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Btn_Test);
  layout->addWidget(progress_, 1);
  layout->addWidget(Btn_Stop);
  connect(Btn_Stop, &QPushButton::clicked, this, &RequestTestPanel::Stop);
  Show_Idle();
}

RequestTestPanel::~RequestTestPanel() { Stop(); }

void RequestTestPanel::Set_Texts(const QString& test, const QString& test_hint, const QString& stop,
                                 const QString& stop_hint, const QString& progress) {
  set_caption(Btn_Test, test, test_hint);
  set_caption(Btn_Stop, stop, stop_hint);
  progress_text_ = progress;
  Show_Progress();
}

void RequestTestPanel::Start(std::vector<ProbeRequest> requests, ProbeOptions options) {
  Stop();
  const unsigned run = ++run_;
  done_ = 0;
  total_ = static_cast<int>(requests.size());
  stop_ = std::make_unique<ProbeStop>();
  Btn_Test->setEnabled(false);
  Btn_Stop->setVisible(true);
  progress_->setVisible(true);
  progress_->setRange(0, total_);
  Show_Progress();
  ProbeStop* stop = stop_.get();
  // The posted calls reach this panel only while it lives: the destructor
  // joins the thread before the panel goes, and Qt drops calls queued for an
  // object that is gone.
  worker_ = std::thread([this, run, stop, options, requests = std::move(requests)] {
    prober_.run(requests, options, *stop, [this, run](const ProbeResult& result) {
      QMetaObject::invokeMethod(
          this, [this, run, result] { Result_Arrived(run, result); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, run] { Finished(run); }, Qt::QueuedConnection);
  });
}

void RequestTestPanel::Stop() {
  if (!worker_.joinable()) return;
  stop_->request();
  worker_.join();
  Show_Idle();
}

void RequestTestPanel::Result_Arrived(unsigned run, const ProbeResult& result) {
  if (run != run_) return;
  ++done_;
  Show_Progress();
  show_(result);
}

void RequestTestPanel::Finished(unsigned run) {
  if (run != run_ || !worker_.joinable()) return;
  worker_.join();  // its last step was posting this call
  Show_Idle();
}

void RequestTestPanel::Show_Idle() {
  Btn_Test->setEnabled(true);
  Btn_Stop->setVisible(false);
  progress_->setVisible(false);
}

void RequestTestPanel::Show_Progress() {
  progress_->setValue(done_);
  // A language file may leave a number out, which arg() would warn about.
  progress_->setFormat(QString(progress_text_)
                           .replace(QLatin1String("%1"), QString::number(done_))
                           .replace(QLatin1String("%2"), QString::number(total_)));
}

QString Probe_Result_Text(const ProbeResult& result, const QStringList& status_words) {
  const int status = static_cast<int>(result.status);
  QString text =
      status < status_words.size() ? status_words[status] : QString::fromLatin1(Probe_Status_Name(result.status));
  switch (result.status) {
    case ProbeStatus::Ok: {
      text += QStringLiteral(" %1 ms:").arg(result.round_trip_ms);
      for (const std::uint16_t value : result.values) text += QLatin1Char(' ') + QString::number(value);
      break;
    }
    case ProbeStatus::Exception: {
      text += QLatin1Char(' ') + QStringLiteral("%1").arg(result.exception_code, 2, 16, QLatin1Char('0')).toUpper();
      if (const auto name = Modbus_Exception_Name(result.exception_code)) {
        text += QLatin1Char(' ') + QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()));
      }
      break;
    }
    default:
      if (!result.reason.empty()) text += QStringLiteral(": ") + to_qstring(result.reason);
      break;
  }
  return text;
}

}  // namespace sw48230
