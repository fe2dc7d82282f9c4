// vexbit: a command-line VST 3 host. Each subcommand lives in its own file and
// registers itself here.
#include "vexbit/BenchCommand.h"
#include "vexbit/CommandError.h"
#include "vexbit/DemoCommand.h"
#include "vexbit/EditorCommand.h"
#include "vexbit/InfoCommand.h"
#include "vexbit/PresetCommand.h"
#include "vexbit/RenderCommand.h"
#include "vexbit/SnapshotCommand.h"
#include "vexbit/StateCommand.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv)
{
    CLI::App app{"vexbit: load, inspect and run VST 3 plug-ins"};
    app.require_subcommand(1);
    vexbit::cli::addInfoCommand(app);
    vexbit::cli::addStateCommand(app);
    vexbit::cli::addRenderCommand(app);
    vexbit::cli::addDemoCommand(app);
    vexbit::cli::addBenchCommand(app);
    vexbit::cli::addEditorCommand(app);
    vexbit::cli::addSnapshotCommand(app);
    vexbit::cli::addPresetCommand(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "vexbit: error: " << e.what() << "\n";
        return e.get_exit_code() != 0 ? e.get_exit_code() : 2;
    } catch (const vexbit::cli::CommandError& e) {
        std::cerr << "vexbit: error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
