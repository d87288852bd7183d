// A label painted by the tool: one line of code page 936 text on a filled
// background, exposed to assistive technology as static text.
#ifndef ZEMBROLT_APP_LABEL_WIDGET_H_
#define ZEMBROLT_APP_LABEL_WIDGET_H_

#include <QColor>
#include <QString>
#include <QWidget>

#include "encoding/text.h"

namespace zembrolt {

class LabelWidget : public QWidget {
  Q_OBJECT

 public:
  // `caption` is copied; `textColor` draws it on `background`.
  LabelWidget(const Text& caption, QColor textColor, QColor background, QWidget* parent);

  // Exactly the bytes last stored, or the initial caption.
  const Text& Caption() const { return caption_; }

  // Stores a copy of `caption` and marks the label for repainting; it paints
  // the next time the window paints, never from inside this call.
  void SetCaption(const Text& caption);

  // The caption as it is drawn and announced.
  const QString& Shown() const { return shown_; }

  QColor TextColor() const { return textColor_; }
  QColor Background() const { return background_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Text caption_;
  QString shown_;
  QColor textColor_;
  QColor background_;
};

// Makes Qt's accessibility describe every LabelWidget as static text named by
// its shown caption. Safe to call more than once.
void InstallLabelAccessibility();

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_LABEL_WIDGET_H_
