#include "ui/Program.h"

int main(int argc, char** argv) { quillmarsh::RunProgram(argc, argv); }
