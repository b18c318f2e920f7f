#include "ui/link_label.h"

#include <QDesktopServices>
#include <QUrl>

namespace brenvale::ui {

namespace {

UrlOpener& opener() {
  static UrlOpener o;
  return o;
}

}  // namespace

void set_url_opener(UrlOpener o) { opener() = std::move(o); }

void open_url(const QString& url) {
  if (opener()) {
    opener()(url);
    return;
  }
  QDesktopServices::openUrl(QUrl(url));
}

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::RichText);
  setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  setOpenExternalLinks(false);
  connect(this, &QLabel::linkActivated, this, [this](const QString& link) {
    emit linkClicked(link);
    open_url(link);
  });
}

void LinkLabel::set_link(const QString& text, const QString& url) {
  url_ = url;
  setText("<a href=\"" + url.toHtmlEscaped() + "\">" + text.toHtmlEscaped() + "</a>");
}

void LinkLabel::set_plain(const QString& text) {
  url_.clear();
  setText(text.toHtmlEscaped());
}

}  // namespace brenvale::ui
