#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "core/probe/prober.h"

class QProgressBar;
class QPushButton;

namespace sw48230 {

// The Test button of a request screen and what shows a test under way: a
// progress bar and a Stop button. The requests are probed on a thread of
// their own, so the screen keeps painting and stays usable; each result is
// handed to the screen on its own thread as it comes.
class RequestTestPanel final : public QWidget {
  Q_OBJECT
 public:
  using ShowResult = std::function<void(const ProbeResult&)>;

  RequestTestPanel(QWidget* parent, Prober& prober, ShowResult show);
  // A panel never outlives its probe thread.
  ~RequestTestPanel() override;

  QPushButton* test_button() const { return Btn_Test; }
  QPushButton* stop_button() const { return Btn_Stop; }

  // `progress` holds %1 (rows tested) and %2 (rows to test).
  void Set_Texts(const QString& test, const QString& test_hint, const QString& stop, const QString& stop_hint,
                 const QString& progress);

  void Start(std::vector<ProbeRequest> requests, ProbeOptions options);
  // Cuts the probe off and waits for its thread; nothing once none runs.
  void Stop();

 private:
  void Result_Arrived(unsigned run, const ProbeResult& result);
  void Finished(unsigned run);
  void Show_Idle();
  void Show_Progress();

  Prober& prober_;
  ShowResult show_;
  QPushButton* Btn_Test;
  QPushButton* Btn_Stop;
  QProgressBar* progress_;
  QString progress_text_;
  int done_ = 0;
  int total_ = 0;
  // Results still queued from an earlier run are told apart by this number.
  unsigned run_ = 0;
  // A stop cannot be taken back, so each run has its own.
  std::unique_ptr<ProbeStop> stop_;
  std::thread worker_;
};

// A result as the result column shows it: the status word of
// `status_words` (in the order of ProbeStatus) and the values, the
// exception or the reason.
QString Probe_Result_Text(const ProbeResult& result, const QStringList& status_words);

}  // namespace sw48230
