#include "app/label_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>

#include "app/qt_text.h"

namespace zembrolt {
namespace {

class LabelAccessible : public QAccessibleWidget {
 public:
  explicit LabelAccessible(LabelWidget* label)
      : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<const LabelWidget*>(widget())->Shown();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* LabelAccessibleFactory(const QString& /*className*/, QObject* object) {
  if (auto* label = qobject_cast<LabelWidget*>(object)) return new LabelAccessible(label);
  return nullptr;
}

}  // namespace

LabelWidget::LabelWidget(const Text& caption, QColor textColor, QColor background, QWidget* parent)
    : QWidget(parent),
      caption_(caption),
      shown_(DisplayString(caption)),
      textColor_(textColor),
      background_(background) {
  setFocusPolicy(Qt::NoFocus);
  // The paint event covers every pixel it is asked for.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelWidget::SetCaption(const Text& caption) {
  caption_ = caption;
  shown_ = DisplayString(caption_);
  update();
  QAccessibleEvent changed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}

void LabelWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), background_);
  painter.setPen(textColor_);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setClipRect(rect());
  // No mnemonic flag, so "&" is drawn as itself; a single line, never wrapped.
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown_);
}

void InstallLabelAccessibility() {
  static bool installed = false;
  if (installed) return;
  QAccessible::installFactory(LabelAccessibleFactory);
  installed = true;
}

}  // namespace zembrolt
