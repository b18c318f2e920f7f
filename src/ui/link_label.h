// Clickable labels that open a web page through the desktop. Tests install an opener so that no
// browser starts.
#pragma once

#include <functional>

#include <QLabel>

namespace brenvale::ui {

using UrlOpener = std::function<void(const QString& url)>;

// Installs an opener for every later link; an empty one restores the desktop's.
void set_url_opener(UrlOpener opener);
// Opens the URL as the desktop's "open" verb would.
void open_url(const QString& url);

class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(QWidget* parent);
  // Shows `text` as a link to `url`.
  void set_link(const QString& text, const QString& url);
  // Shows plain text without a link.
  void set_plain(const QString& text);
  const QString& url() const { return url_; }

 signals:
  void linkClicked(const QString& url);

 private:
  QString url_;
};

}  // namespace brenvale::ui
