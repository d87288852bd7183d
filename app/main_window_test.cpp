#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/form.h"
#include "app/label_widget.h"
#include "app/testing_qt.h"
#include "encoding/code_page.h"
#include "encoding/testing.h"
#include "query/standin.h"

namespace zembrolt {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    LocalCodePage = kCodePageGbk;
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  QWidget* W(Control c) const { return window_->Widget(c); }
  LabelWidget* Label(Control c) const { return static_cast<LabelWidget*>(W(c)); }
  QComboBox* Combo() const { return static_cast<QComboBox*>(W(Control::kCombo1)); }
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(W(Control::kEdit1)); }
  QPushButton* Button() const { return static_cast<QPushButton*>(W(Control::kButton1)); }
  QGroupBox* Group() const { return static_cast<QGroupBox*>(W(Control::kGroup1)); }

  std::unique_ptr<MainWindow> window_;
};

TEST(MainWindowPlacementTest, CentresWithDivisionTowardZero) {
  const struct {
    QRect screen;
    QPoint origin;
  } cases[] = {
      {QRect(0, 0, 1024, 768), QPoint(328, 221)},
      {QRect(0, 0, 300, 600), QPoint(-33, 137)},  // -67 / 2 is -33, not -34
      {QRect(0, 0, 367, 200), QPoint(0, -62)},
      {QRect(1920, 0, 1280, 1024), QPoint(1920 + 456, 349)},
  };
  for (const auto& c : cases) EXPECT_EQ(CentredOrigin(c.screen), c.origin) << c.screen.width();
  EXPECT_EQ(EditBoxHeight(20, 17, 2), 21);
  EXPECT_EQ(EditBoxHeight(20, 12, 2), 20);
}

TEST_F(MainWindowTest, WindowHasItsTitleSizeFramePositionAndIcon) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Zembrolt Morvessa"));
  EXPECT_EQ(window_->frameGeometry().size(), QSize(367, 325));
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window_->frameGeometry().topLeft(), CentredOrigin(screen));
  const Qt::WindowFlags flags = window_->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window_->windowIcon().isNull());
  EXPECT_FALSE(window_->windowIcon().pixmap(32, 32).isNull());
  EXPECT_EQ(window_->palette().color(QPalette::Window),
            QApplication::palette().color(QPalette::Button));
}

TEST_F(MainWindowTest, EveryControlIsPlacedAsTheFormSays) {
  for (const FormRow& row : Form()) {
    SCOPED_TRACE(row.name);
    QWidget* widget = W(row.id);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName(), QString::fromUtf8(row.name));
    EXPECT_EQ(widget->parentWidget(), row.parent ? W(*row.parent) : window_.get());
    EXPECT_EQ(widget->geometry().topLeft(), QPoint(row.left, row.top));
    EXPECT_EQ(widget->width(), row.width);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(widget->font(), QApplication::font());
    switch (row.kind) {
      case ControlKind::kDropDownList:
        EXPECT_EQ(widget->height(), widget->sizeHint().height());
        break;
      case ControlKind::kEditBox:
        EXPECT_GE(widget->height(), row.height);
        EXPECT_GE(widget->height(), QFontMetrics(widget->font()).height() + 2);
        break;
      default:
        EXPECT_EQ(widget->height(), row.height);
    }
  }
}

TEST_F(MainWindowTest, StartsWithTheFormsTextsAndItems) {
  for (const FormRow& row : Form()) {
    EXPECT_EQ(window_->ReadControlText(row.id), Text(row.text)) << row.name;
  }
  EXPECT_EQ(window_->ReadControlText(Control::kCombo1), GbkFromUtf8("安卓 - QQ"));
  EXPECT_EQ(Label(Control::kGold)->Shown(), QString::fromUtf8("标签"));

  ASSERT_EQ(Combo()->count(), 4);
  EXPECT_FALSE(Combo()->isEditable());
  EXPECT_EQ(Combo()->currentIndex(), 1);
  EXPECT_EQ(Combo()->itemText(3), QString::fromUtf8("苹果 - WX"));

  EXPECT_EQ(Edit()->text(), QStringLiteral("Torvanel"));
  EXPECT_EQ(Edit()->cursorPosition(), 0);
  EXPECT_FALSE(Edit()->hasSelectedText());
  EXPECT_TRUE(Edit()->alignment() & Qt::AlignHCenter);
  EXPECT_TRUE(Edit()->hasFrame());

  EXPECT_EQ(Group()->title(), QString::fromUtf8("安卓 - QQ"));
  EXPECT_TRUE(Group()->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(Button()->text(), QString::fromUtf8("查询"));
  EXPECT_FALSE(Button()->isDefault());
  EXPECT_FALSE(Button()->autoDefault());
}

// The colour of the pixel at `at` as the label paints itself.
QColor PaintedPixel(QWidget* widget, QPoint at) { return widget->grab().toImage().pixelColor(at); }

bool PaintsColour(QWidget* widget, QColor colour) {
  const QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
}

TEST_F(MainWindowTest, LabelsPaintTheirColoursAndCutTextOffAtTheirEdge) {
  const QColor face = QApplication::palette().color(QPalette::Button);
  EXPECT_EQ(Label(Control::kLabel1)->TextColor(), QColor(255, 0, 0));
  EXPECT_TRUE(PaintsColour(W(Control::kLabel1), QColor(255, 0, 0)));
  EXPECT_EQ(PaintedPixel(W(Control::kLabel1), QPoint(158, 1)), face);
  for (Control c : {Control::kLabel2, Control::kGold, Control::kUpdateTime}) {
    EXPECT_EQ(Label(c)->TextColor(), QColor(0, 0, 0));
    EXPECT_EQ(Label(c)->Background(), face);
    EXPECT_FALSE(PaintsColour(W(c), QColor(255, 0, 0)));
  }
  // A caption far wider than the label stays on one line, cut at the edge.
  window_->WriteControlText(Control::kNational, Text(std::string(60, 'W')));
  const QImage image = W(Control::kNational)->grab().toImage();
  int inkAbove = 0, inkBelow = 0;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < 4; ++y) inkAbove += image.pixelColor(x, y) != face;
    inkBelow += image.pixelColor(x, image.height() - 1) != face;
  }
  EXPECT_EQ(inkAbove + inkBelow, 0);
  EXPECT_NE(image.pixelColor(image.width() - 2, image.height() / 2), face);
}

TEST_F(MainWindowTest, RegionLabelsCoverTheirValueLabels) {
  const struct {
    Control value, region;
  } rows[] = {{Control::kGold, Control::kGoldRegion},
              {Control::kSilver, Control::kSilverRegion},
              {Control::kBronze, Control::kBronzeRegion}};
  for (const auto& row : rows) {
    const int y = FormRowOf(row.value).top + 12;
    EXPECT_EQ(Group()->childAt(120, y), W(row.region)) << FormRowOf(row.value).name;
    EXPECT_EQ(Group()->childAt(111, y), W(row.value)) << FormRowOf(row.value).name;
  }
  // A value wide enough to run under the region label is hidden there.
  window_->WriteControlText(Control::kGold, Text(std::string(30, 'W')));
  window_->WriteControlText(Control::kGoldRegion, Text());
  const QImage group = Group()->grab().toImage();
  const QColor face = QApplication::palette().color(QPalette::Button);
  const int y = FormRowOf(Control::kGold).top + 12;
  bool inkBefore = false, inkAfter = false;
  for (int x = 56; x < 112; ++x) inkBefore |= group.pixelColor(x, y) != face;
  for (int x = 112; x < 136; ++x) inkAfter |= group.pixelColor(x, y) != face;
  EXPECT_TRUE(inkBefore);
  EXPECT_FALSE(inkAfter);
}

TEST_F(MainWindowTest, TabAndShiftTabCycleTheThreeTabStops) {
  EXPECT_EQ(QApplication::focusWidget(), Button());
  const QWidget* const forward[] = {Edit(), Combo(), Button(), Edit()};
  for (const QWidget* next : forward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
  // The edit box saw none of those Tabs.
  EXPECT_EQ(Edit()->text(), QStringLiteral("Torvanel"));
  const QWidget* const backward[] = {Button(), Combo(), Edit(), Button()};
  for (const QWidget* next : backward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
  for (Control c : {Control::kLabel1, Control::kGroup1, Control::kGold}) {
    EXPECT_EQ(W(c)->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(MainWindowTest, EnterPressesNothingAndSpaceClicksTheButton) {
  QSignalSpy clicks(Button(), &QPushButton::clicked);
  QSignalSpy returns(Edit(), &QLineEdit::returnPressed);
  for (QWidget* target : {static_cast<QWidget*>(Edit()), static_cast<QWidget*>(Button())}) {
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), target);
  }
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(returns.count(), 0);
  EXPECT_TRUE(window_->isVisible());

  // The click runs a query; nothing listens on port 1, so it ends at once and
  // reaches no service that may be running on this machine.
  window_->SetServiceBase("http://127.0.0.1:1");
  QTest::keyClick(Button(), Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 1);
  // Other keys reach the control as usual.
  QTest::keyClick(Edit(), Qt::Key_End);
  QTest::keyClicks(Edit(), "x");
  EXPECT_EQ(Edit()->text(), QStringLiteral("Torvanelx"));
}

TEST_F(MainWindowTest, TheButtonAsksTheServiceItIsPointedAt) {
  StandinService standin;
  window_->SetServiceBase(standin.BaseUrl());
  QTest::mouseClick(Button(), Qt::LeftButton);
  const std::vector<StandinService::RawRequest> requests = standin.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].listener, "https");
  EXPECT_TRUE(
      requests[0].bytes.starts_with("GET /hero/select.php?hero=Torvanel&type=aqq HTTP/1.0\r\n"))
      << requests[0].bytes;
  for (Control c : {Control::kNational, Control::kGold, Control::kSilver, Control::kBronze,
                    Control::kUpdateTime, Control::kGoldRegion, Control::kSilverRegion,
                    Control::kBronzeRegion}) {
    EXPECT_FALSE(Label(c)->Caption().empty()) << FormRowOf(c).name;
  }
  EXPECT_EQ(Group()->title(), QString::fromUtf8("安卓 - QQ"));
}

TEST_F(MainWindowTest, EscClosesTheWindowFromEveryTabStop) {
  for (Control c : FocusOrder()) {
    SCOPED_TRACE(FormRowOf(c).name);
    if (!window_->isVisible()) {
      window_->show();
      ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    W(c)->setFocus();
    QTest::keyClick(W(c), Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
  }
}

TEST_F(MainWindowTest, FocusComesBackAfterAnotherWindowWasActive) {
  Edit()->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  EXPECT_EQ(QApplication::focusWidget(), Edit());
}

TEST_F(MainWindowTest, ComboAndEditAreReadFromTheControlEachTime) {
  const char* utf8[] = {"安卓 - WX", "安卓 - QQ", "苹果 - QQ", "苹果 - WX"};
  for (int i = 3; i >= 0; --i) {
    Combo()->setCurrentIndex(i);
    EXPECT_EQ(window_->ReadControlText(Control::kCombo1), GbkFromUtf8(utf8[i]));
  }
  Combo()->setCurrentIndex(-1);
  EXPECT_EQ(window_->ReadControlText(Control::kCombo1), Text());

  Edit()->setText(QString::fromUtf8("中文"));
  EXPECT_EQ(window_->ReadControlText(Control::kEdit1), Text(HexBytes("D6 D0 CE C4").view()));
  Edit()->setText(QString::fromUtf8("a한b"));
  EXPECT_EQ(window_->ReadControlText(Control::kEdit1), Text("a?b"));
  Edit()->clear();
  EXPECT_EQ(window_->ReadControlText(Control::kEdit1), Text());

  // Their texts change only by the user's hand.
  window_->WriteControlText(Control::kEdit1, "x");
  window_->WriteControlText(Control::kCombo1, "x");
  EXPECT_EQ(Edit()->text(), QString());
  EXPECT_EQ(Combo()->count(), 4);
}

TEST_F(MainWindowTest, CaptionsReadBackByteForByte) {
  const Text captions[] = {
      Text(),
      "aqq",
      GbkFromUtf8("广东省"),
      // GB18030-only four-byte characters and bytes that decode as nothing.
      Text(HexBytes("81 30 84 38 95 32 82 36").view()),
      Text(HexBytes("41 80 FF B0").view()),
      "A&B",
  };
  for (const FormRow& row : Form()) {
    if (row.kind != ControlKind::kLabel && row.kind != ControlKind::kGroupBox) continue;
    for (const Text& caption : captions) {
      window_->WriteControlText(row.id, caption);
      EXPECT_EQ(window_->ReadControlText(row.id), caption)
          << row.name << " " << ToHex(caption.view());
    }
  }
  window_->WriteControlText(Control::kGroup1, "A&B");
  EXPECT_EQ(Group()->title(), QStringLiteral("A&&B"));  // drawn as "A&B"
  window_->WriteControlText(Control::kGold, Text(HexBytes("41 80 81 30 84 38").view()));
  EXPECT_EQ(Label(Control::kGold)->Shown(), QString::fromUtf8("A\uFFFD\u00A9"));
  window_->WriteControlText(Control::kGold, Text());
  EXPECT_EQ(Label(Control::kGold)->Shown(), QString());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(MainWindowTest, WritingMarksALabelForRepaintingWithoutPaintingIt) {
  QWidget* label = W(Control::kSilver);
  QTest::qWait(50);
  PaintCounter counter;
  label->installEventFilter(&counter);
  window_->WriteControlText(Control::kSilver, "123");
  EXPECT_EQ(counter.paints, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 5000));
  label->removeEventFilter(&counter);
}

QString AccessibleText(QWidget* widget, QAccessible::Text t) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face == nullptr ? QStringLiteral("<none>") : face->text(t);
}

QAccessible::Role AccessibleRole(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face == nullptr ? QAccessible::NoRole : face->role();
}

TEST_F(MainWindowTest, AssistiveTechnologyReadsEveryControl) {
  EXPECT_EQ(AccessibleRole(W(Control::kGold)), QAccessible::StaticText);
  EXPECT_EQ(AccessibleText(W(Control::kGold), QAccessible::Name), QString::fromUtf8("标签"));
  EXPECT_EQ(AccessibleText(W(Control::kLabel6), QAccessible::Name), QString::fromUtf8("更新时间"));
  window_->WriteControlText(Control::kGold, GbkFromUtf8("广东省"));
  EXPECT_EQ(AccessibleText(W(Control::kGold), QAccessible::Name), QString::fromUtf8("广东省"));

  EXPECT_EQ(AccessibleRole(W(Control::kGroup1)), QAccessible::Grouping);
  EXPECT_EQ(AccessibleText(W(Control::kGroup1), QAccessible::Name), QString::fromUtf8("安卓 - QQ"));
  EXPECT_EQ(AccessibleRole(Combo()), QAccessible::ComboBox);
  EXPECT_EQ(AccessibleText(Combo(), QAccessible::Value), QString::fromUtf8("安卓 - QQ"));
  EXPECT_EQ(AccessibleRole(Edit()), QAccessible::EditableText);
  EXPECT_EQ(AccessibleText(Edit(), QAccessible::Value), QStringLiteral("Torvanel"));
  EXPECT_EQ(AccessibleRole(Button()), QAccessible::Button);
  EXPECT_EQ(AccessibleText(Button(), QAccessible::Name), QString::fromUtf8("查询"));
}

}  // namespace
}  // namespace zembrolt
