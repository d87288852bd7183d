// Test helper: the one QApplication of a widget test process.
#ifndef ZEMBROLT_APP_TESTING_QT_H_
#define ZEMBROLT_APP_TESTING_QT_H_

#include <QApplication>

namespace zembrolt {

// Created on first use and kept until the process ends; the platform comes
// from the test's environment (offscreen).
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "zembrolt_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_TESTING_QT_H_
