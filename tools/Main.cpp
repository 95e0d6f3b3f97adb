// pagepress: the command-line face of the report engine.
#include <cstdio>
#include <exception>
#include <string>

#include "Commands.h"
#include "platform/Exceptions.h"

namespace {

struct TCommand {
  const char* Name;
  const char* Usage;
  const char* Summary;
  int (*Run)(const TArguments&);
};

const TCommand Commands[] = {
    {"sample", "sample [NAME OUTPUT]",
     "records example report NAME and renders it to OUTPUT, or keeps it as a .vsn snapshot", SampleCommand},
    {"convert", "convert INPUT.vsn OUTPUT",
     "renders a snapshot by OUTPUT's extension (--format F, --pages RANGE)", ConvertCommand},
    {"formats", "formats", "lists the formats convert and sample can write", FormatsCommand},
    {"dump", "dump FILE.vsn [--page N]", "prints a snapshot: header, then the records of each page",
     DumpCommand},
};

void PrintHelp() {
  std::printf("Usage: pagepress COMMAND [ARGUMENTS]\n\nCommands:\n");
  for (const TCommand& c : Commands) std::printf("  %-28s %s\n", c.Usage, c.Summary);
  std::printf("  %-28s %s\n", "help", "shows this text");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help" ||
      std::string(argv[1]) == "-h") {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  const std::string name = argv[1];
  TArguments args(argv + 2, argv + argc);
  for (const TCommand& c : Commands) {
    if (name != c.Name) continue;
    try {
      return c.Run(args);
    } catch (const Exception& e) {
      std::fprintf(stderr, "pagepress %s: %s\n", c.Name, e.Message().c_str());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "pagepress %s: %s\n", c.Name, e.what());
    }
    return 1;
  }
  std::fprintf(stderr, "pagepress: unknown command '%s' (try pagepress help)\n", name.c_str());
  return 2;
}
