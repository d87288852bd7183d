#include "app/run_application.h"

int main(int argc, char** argv) { return zembrolt::RunApplication(argc, argv); }
