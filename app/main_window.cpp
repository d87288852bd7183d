#include "app/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStyledItemDelegate>
#include <algorithm>

#include "app/form.h"
#include "app/label_widget.h"
#include "app/qt_text.h"
#include "query/query_flow.h"
#include "query/service_settings.h"

namespace zembrolt {
namespace {

constexpr QColor kLabelTextColor{0, 0, 0};
constexpr QColor kAddressTextColor{255, 0, 0};

int Index(Control control) { return static_cast<int>(control); }

// List items one pixel higher than the platform makes them for the font.
class TallerItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(size.height() + 1);
    return size;
  }
};

// The group box is an etched frame on the window's own background, with no
// panel filled inside, and its caption centred on the top edge, breaking it.
class EtchedGroupBoxStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    const QFontMetrics& metrics = box->fontMetrics;
    const QRect all = box->rect;
    const QRect frame = all.adjusted(0, metrics.height() / 2, 0, 0);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(box->palette.color(QPalette::Dark));
    painter->drawRect(frame.adjusted(0, 0, -2, -2));
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, -1, -1));
    if (!box->text.isEmpty()) {
      const int width = metrics.size(Qt::TextShowMnemonic, box->text).width() + 4;
      const QRect title(all.left() + (all.width() - width) / 2, all.top(), width, metrics.height());
      painter->fillRect(title, box->palette.color(QPalette::Window));
      drawItemText(painter, title, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                   box->state & State_Enabled, box->text, QPalette::WindowText);
    }
    painter->restore();
  }
};

// A group box draws "&" as a mnemonic marker; its caption is shown as written.
QString GroupTitle(const Text& caption) {
  return DisplayString(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

void SetBlackOnWhite(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::ButtonText, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::black);
  widget->setPalette(palette);
}

}  // namespace

QPoint CentredOrigin(const QRect& screen) {
  // C++ integer division truncates toward zero, as the placement asks.
  return screen.topLeft() +
         QPoint((screen.width() - kWindowWidth) / 2, (screen.height() - kWindowHeight) / 2);
}

int EditBoxHeight(int height, int lineHeight, int edge) {
  return std::max(height, lineHeight + 2 * edge);
}

MainWindow::MainWindow() : serviceBase_(kRankingServiceBase) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QString::fromLatin1(kWindowTitle));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(QIcon(QStringLiteral(":/DEFAULT_ICON")));

  const QColor face = QApplication::palette().color(QPalette::Button);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, face);
  palette.setColor(QPalette::WindowText, Qt::black);
  setPalette(palette);
  setAutoFillBackground(true);
  const QFont font = QApplication::font();
  setFont(font);

  // Without a frame reported this is the whole window; FitOuterSize takes the
  // frame off once the platform tells it.
  setFixedSize(kWindowWidth, kWindowHeight);
  const QScreen* screen = QGuiApplication::primaryScreen();
  origin_ = CentredOrigin(screen != nullptr ? screen->geometry() : QRect());
  move(origin_);

  // Children are created in table order; a group box is created before the
  // rows it holds, which come earlier in the table.
  const auto create = [&](const FormRow& row, auto& self) -> QWidget* {
    QWidget*& widget = widgets_[Index(row.id)];
    if (widget != nullptr) return widget;
    QWidget* parent = row.parent ? self(FormRowOf(*row.parent), self) : this;
    captions_[Index(row.id)] = Text(row.text);
    switch (row.kind) {
      case ControlKind::kLabel:
        widget = new LabelWidget(row.text,
                                 row.id == Control::kLabel1 ? kAddressTextColor : kLabelTextColor,
                                 face, parent);
        break;
      case ControlKind::kDropDownList: {
        combo_ = new QComboBox(parent);
        combo_->setEditable(false);
        combo_->setItemDelegate(new TallerItemDelegate(combo_));
        for (const char* item : row.items) combo_->addItem(DisplayString(item));
        combo_->setCurrentIndex(kInitialComboItem);
        widget = combo_;
        break;
      }
      case ControlKind::kEditBox:
        edit_ = new QLineEdit(parent);
        edit_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        edit_->setFrame(true);
        edit_->setText(DisplayString(row.text));
        edit_->setCursorPosition(0);
        edit_->deselect();
        widget = edit_;
        break;
      case ControlKind::kGroupBox:
        group_ = new QGroupBox(GroupTitle(row.text), parent);
        group_->setAlignment(Qt::AlignHCenter);
        group_->setFocusPolicy(Qt::NoFocus);
        {
          auto* style = new EtchedGroupBoxStyle();
          style->setParent(group_);
          group_->setStyle(style);
        }
        widget = group_;
        break;
      case ControlKind::kPushButton:
        button_ = new QPushButton(DisplayString(row.text), parent);
        button_->setAutoDefault(false);
        button_->setDefault(false);
        widget = button_;
        break;
    }
    widget->setObjectName(QString::fromUtf8(row.name));
    widget->setFont(font);
    return widget;
  };
  for (const FormRow& row : Form()) create(row, create);

  for (const FormRow& row : Form()) {
    QWidget* widget = widgets_[Index(row.id)];
    int height = row.height;
    if (row.kind == ControlKind::kDropDownList) {
      // The table's height covers the field and the dropped list; the field
      // is as high as the platform makes it for the font.
      height = widget->sizeHint().height();
    } else if (row.kind == ControlKind::kEditBox) {
      height = EditBoxHeight(row.height, QFontMetrics(widget->font()).height(),
                             widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    }
    widget->setGeometry(row.left, row.top, row.width, height);
    if (row.kind == ControlKind::kDropDownList || row.kind == ControlKind::kEditBox) {
      SetBlackOnWhite(widget);
    }
  }

  // Among siblings an earlier row lies above every later one.
  for (const FormRow& row : Form()) widgets_[Index(row.id)]->lower();

  for (const Control control : FocusOrder()) {
    QWidget* widget = widgets_[Index(control)];
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->installEventFilter(this);
    if (!focusOrder_.empty()) setTabOrder(focusOrder_.back(), widget);
    focusOrder_.push_back(widget);
  }
  installEventFilter(this);
  // Given to the first of the focus order when the window is first activated.
  focusOrder_.front()->setFocus(Qt::OtherFocusReason);

  connect(button_, &QPushButton::clicked, this, [this] { OnQueryClicked(*this, serviceBase_); });
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::Widget(Control control) const { return widgets_[Index(control)]; }

Text MainWindow::ReadControlText(Control control) const {
  switch (control) {
    case Control::kCombo1:
      return combo_->currentIndex() < 0 ? Text() : TextFromQString(combo_->currentText());
    case Control::kEdit1:
      return TextFromQString(edit_->text());
    default:
      return captions_[Index(control)];
  }
}

void MainWindow::WriteControlText(Control control, const Text& text) {
  if (control == Control::kCombo1 || control == Control::kEdit1) return;
  captions_[Index(control)] = text;
  if (control == Control::kGroup1) {
    group_->setTitle(GroupTitle(text));
  } else if (control == Control::kButton1) {
    button_->setText(DisplayString(text));
  } else {
    static_cast<LabelWidget*>(widgets_[Index(control)])->SetCaption(text);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<const QKeyEvent&>(*event))) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::HandleKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  switch (key.key()) {
    case Qt::Key_Tab:
      if (modifiers != Qt::NoModifier) return false;
      MoveFocus(+1);
      return true;
    case Qt::Key_Backtab:
      if (modifiers != Qt::ShiftModifier && modifiers != Qt::NoModifier) return false;
      MoveFocus(-1);
      return true;
    case Qt::Key_Escape:
      if (modifiers != Qt::NoModifier) return false;
      close();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // No default button: Enter presses nothing and does not move the focus.
      return modifiers == Qt::NoModifier;
    default:
      return false;
  }
}

void MainWindow::MoveFocus(int step) {
  const int count = static_cast<int>(focusOrder_.size());
  const auto at = std::find(focusOrder_.begin(), focusOrder_.end(), focusWidget());
  int next = 0;
  if (at != focusOrder_.end()) {
    next = (static_cast<int>(at - focusOrder_.begin()) + step + count) % count;
  }
  focusOrder_[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool MainWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
      FitOuterSize();
      break;
    default:
      break;
  }
  return handled;
}

void MainWindow::FitOuterSize() {
  if (!isWindow() || !isVisible()) return;
  const QRect outer = frameGeometry();
  const QRect inner = geometry();
  const QMargins margins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
  if (margins == fittedMargins_) return;
  fittedMargins_ = margins;
  setFixedSize(kWindowWidth - margins.left() - margins.right(),
               kWindowHeight - margins.top() - margins.bottom());
  move(origin_);
}

std::unique_ptr<MainWindow> CreateMainWindow() {
  if (!FormIsSound(Form())) return nullptr;
  InstallLabelAccessibility();
  return std::make_unique<MainWindow>();
}

}  // namespace zembrolt
