// pavilore-tool: the headless companion of the game, for content authors, tests and scripts.
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Install.h"
#include "Pack.h"

#ifndef PAVILORE_VERSION
#error "PAVILORE_VERSION is given by the build"
#endif

namespace {

// On standard output when asked for (--help), else on standard error with the mistake.
void Usage(std::ostream& out = std::cerr) {
  out << "usage: pavilore-tool COMMAND ...\n"
         "  show FILE --json                       a game file as JSON (.BRD .PZZ .CPN .SGM .CFG)\n"
         "  push --board B.BRD [--puzzle P.PZZ] [--start board|ip|op] [--objective board|op] --json X,Y,D ...\n"
         "  solve P.PZZ | --board B.BRD [--puzzle P.PZZ] [--start ...] [--objective ...]\n"
         "        [--seconds S] [--max-memory MB] [--json]\n"
         "                                         the fewest moves from the start to the objective\n"
         "  record FILE --seconds S --moves M --name NAME [--bot SPEED,ACCURACY] --json\n"
         "  pack TEXT [-o OUT] [--boards DIR] [--solution]\n"
         "                                         a text board, puzzle, campaign or configuration to its file\n"
         "  unpack FILE [-o OUT]                   a game file or the configuration to its text\n"
         "  install [DIR] [--from IMAGE]           the default installation for this user; stores AppFolder\n"
         "  check DIR [--no-media] [--solve-seconds S | --no-solve]\n"
         "                                         every file of an installation, one line per problem;\n"
         "                                         each puzzle's fewest moves (par) against its moves limit\n"
         "  --help                                 this text\n"
         "  --version                              the version\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  const std::string cmd = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (cmd == "show") return pav::tool::RunShow(args);
    if (cmd == "push") return pav::tool::RunPush(args);
    if (cmd == "solve") return pav::tool::RunSolve(args);
    if (cmd == "record") return pav::tool::RunRecord(args);
    if (cmd == "pack") return pav::tool::RunPack(args);
    if (cmd == "unpack") return pav::tool::RunUnpack(args);
    if (cmd == "install") return pav::tool::RunInstall(args);
    if (cmd == "check") return pav::tool::RunCheck(args);
    if (cmd == "help" || cmd == "--help" || cmd == "-h") {
      Usage(std::cout);
      return 0;
    }
    if (cmd == "--version") {
      std::cout << "pavilore-tool " << PAVILORE_VERSION << '\n';
      return 0;
    }
    std::cerr << "pavilore-tool: unknown command '" << cmd << "'\n";
    Usage();
    return 2;
  } catch (const pav::tool::ToolError& e) {
    std::cerr << e.Message << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "pavilore-tool: " << e.what() << '\n';
    return 2;
  }
}
