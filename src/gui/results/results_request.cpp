#include "gui/results/results_request.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include "gui/text/qt_text.h"
#include "gui/ui/prompter.h"
#include "gui/web/web_host.h"
#include "site/url.h"

namespace velquist {
namespace {

// The script's answer on its way from the engine's callback to the window's queue.
class ResultsReplyEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  ResultsReplyEvent(bool runFailed, std::string text)
      : QEvent(Kind()), runFailed(runFailed), text(std::move(text)) {}
  bool runFailed;
  std::string text;
};

PromptIcon IconOf(ReplyIcon icon) {
  return icon == ReplyIcon::Information ? PromptIcon::Information : PromptIcon::Exclamation;
}

bool IsScreenerPage(const std::string& url) {
  std::string path;
  std::string fragment;
  return SplitScreenerUrl(url, path, fragment);
}

}  // namespace

CResultsRequest::CResultsRequest(ResultsRequestOwner owner, QObject* parent)
    : QObject(parent), m_owner(std::move(owner)) {}

void CResultsRequest::SetHandler(ResultsRequest kind, ResultsHandler handler) {
  (kind == ResultsRequest::Print ? m_printHandler : m_exportHandler) = std::move(handler);
}

void CResultsRequest::Request(ResultsRequest kind) {
  if (kind == ResultsRequest::None || m_pending != ResultsRequest::None) return;
  CWebHost& host = m_owner.activeHost();
  if (!IsScreenerPage(host.CurrentUrl())) {
    Prompter().Beep();
    return;
  }
  QPointer<CResultsRequest> self(this);
  const bool started =
      host.ExecuteScript(std::string(ResultsScript), [self](bool runFailed, const QString& text) {
        // Posted, so that the messages and the export dialog stay out of the engine's
        // callback; a window that is gone by now takes no reply.
        if (!self) return;
        QCoreApplication::postEvent(self, new ResultsReplyEvent(runFailed, ToUtf8(text)));
      });
  if (!started) {
    Prompter().Beep();
    return;
  }
  m_pending = kind;
  m_owner.showStatus(ToQString(PreparingStatusText(kind)));
}

void CResultsRequest::customEvent(QEvent* event) {
  if (event->type() != ResultsReplyEvent::Kind()) return;
  auto* reply = static_cast<ResultsReplyEvent*>(event);
  OnReply(reply->runFailed, reply->text);
}

void CResultsRequest::OnReply(bool runFailed, const std::string& text) {
  const ResultsRequest kind = m_pending;
  m_pending = ResultsRequest::None;
  m_owner.restoreStatus();
  if (kind != ResultsRequest::None) {
    ResultSet set;
    const ResultsReply reply = ReadResultsReply(kind, runFailed, text, set);
    if (!reply.ready) {
      Prompter().Show(m_owner.window, IconOf(reply.icon), ToQString(reply.message));
    } else if (const ResultsHandler& handler =
                   kind == ResultsRequest::Print ? m_printHandler : m_exportHandler) {
      handler(set);
    }
  }
  emit replyHandled();
}

}  // namespace velquist
