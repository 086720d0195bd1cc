#include "FarmSim.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <ostream>

#include "Commands.h"

namespace ombrel::farmsim {

namespace {

struct Arguments {
    std::string farm;
    std::string dir, from = "demo";
    std::string machine, key, value, data, type = "sz", log, service, state;
    std::optional<std::string> optionalValue, metaKey, metaValue;
};

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const Settings& settings) {
    CLI::App app("Create, inspect and change a simulated farm.", "farmsim");
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 done, 1 the thing asked for is absent or unreachable, 2 bad usage or "
        "input (nothing is written). Data that begins with '-' goes after \"--\".");
    Arguments a;
    app.add_option("--farm", a.farm, "The farm folder (default: $OMBREL_FARM, else ./farm)");

    // Each command: its parser and what it does once the line has been parsed.
    std::vector<std::pair<CLI::App*, std::function<void(sim::SimFarm*)>>> commands;
    auto command = [&](CLI::App* parent, const char* name, const char* description,
                       std::function<void(sim::SimFarm*)> action) {
        CLI::App* sub = parent->add_subcommand(name, description);
        commands.emplace_back(sub, std::move(action));
        return sub;
    };
    auto machineArg = [&](CLI::App* sub, const char* what = "The machine's name") {
        sub->add_option("MACHINE", a.machine, what)->required();
    };
    auto keyArg = [&](CLI::App* sub) {
        sub->add_option("KEY", a.key, "The key with its root, as HKLM\\Software\\Ombrel\\Print")
            ->required();
    };

    CLI::App* init = command(&app, "init", "Create a farm from a description", nullptr);
    init->add_option("DIR", a.dir, "The new farm's folder (default: the --farm folder)");
    init->add_option("--from", a.from,
                     "A description file, or a built-in one: demo, client-only, controller")
        ->capture_default_str();

    command(&app, "machines", "List the machines: name, address, state, version",
            [&](sim::SimFarm* f) { listMachines(*f, out); });
    machineArg(command(&app, "online", "Bring a machine online",
                       [&](sim::SimFarm* f) { setOnline(*f, a.machine, true); }));
    machineArg(command(&app, "offline", "Take a machine offline",
                       [&](sim::SimFarm* f) { setOnline(*f, a.machine, false); }));
    CLI::App* version = command(&app, "version", "Change the version of a server's product, as 4.0",
                                [&](sim::SimFarm* f) { setProductVersion(*f, a.machine, a.data); });
    machineArg(version);
    version->add_option("VERSION", a.data, "major.minor: 4.0, 4.5 or 5.0")->required();
    CLI::App* roundTrip = command(
        &app, "round-trip",
        "Show or change the time every call to a machine waits, in ms (0 to 60000); the meta "
        "setting latency_ms adds to every machine's",
        [&](sim::SimFarm* f) { farmsim::roundTrip(*f, a.machine, a.optionalValue, out); });
    machineArg(roundTrip);
    roundTrip->add_option("MS", a.optionalValue, "Its new round trip");

    CLI::App* events = command(&app, "events", "List an event log: number, type, id, source, time",
                               [&](sim::SimFarm* f) { listEvents(*f, a.machine, a.log, out); });
    machineArg(events);
    events->add_option("LOG", a.log, "The log's name, as System or Application")->required();

    machineArg(command(&app, "services", "List a machine's services and their states",
                       [&](sim::SimFarm* f) { listServices(*f, a.machine, out); }));
    CLI::App* service = app.add_subcommand("service", "Change a service");
    service->require_subcommand(1);
    CLI::App* serviceSet =
        command(service, "set", "Set a service's state at once: stopped, running or paused",
                [&](sim::SimFarm* f) { setService(*f, a.machine, a.service, a.state); });
    machineArg(serviceSet);
    serviceSet->add_option("NAME", a.service, "The service's name")->required();
    serviceSet->add_option("STATE", a.state, "stopped, running or paused")->required();

    command(&app, "sessions", "List the sessions: server, id, protocol, user, session, app",
            [&](sim::SimFarm* f) { listSessions(*f, a.machine, out); })
        ->add_option("SERVER", a.machine, "Only this server's sessions");
    command(&app, "launches", "List the programs launched in the farm",
            [&](sim::SimFarm* f) { listLaunches(*f, out); });
    command(&app, "opened", "List what was opened through the shell",
            [&](sim::SimFarm* f) { listOpened(*f, out); });
    CLI::App* metaCommand =
        command(&app, "meta", "Show or change the farm's settings",
                [&](sim::SimFarm* f) { meta(*f, a.metaKey, a.metaValue, out); });
    metaCommand->add_option("KEY", a.metaKey, "A setting's name (all are listed without it)");
    metaCommand->add_option("VALUE", a.metaValue, "Its new value");

    CLI::App* controllerSet = nullptr;
    CLI::App* controller =
        command(&app, "controller", "Show the Pellion controller's configuration, a setting a line",
                [&](sim::SimFarm* f) {
                    if (!controllerSet->parsed()) {
                        showController(*f, out);
                    }
                });
    controllerSet = command(controller, "set",
                            "Change a setting, as Session\\PrinterManagement\\DefaultSessionFlags",
                            [&](sim::SimFarm* f) { setController(*f, a.key, a.data); });
    controllerSet->add_option("SETTING", a.key, "The setting, with its sections")->required();
    controllerSet->add_option("VALUE", a.data, "Its new value")->required();

    CLI::App* reg = app.add_subcommand("reg", "Read and change a machine's registry");
    reg->require_subcommand(1);
    CLI::App* get = command(reg, "get", "Show a value: its type and data",
                            [&](sim::SimFarm* f) { regGet(*f, a.machine, a.key, a.value, out); });
    machineArg(get);
    keyArg(get);
    get->add_option("VALUE", a.value, "The value's name (\"\" for the default value)")->required();
    CLI::App* set =
        command(reg, "set", "Write a value, creating the key when needed",
                [&](sim::SimFarm* f) { regSet(*f, a.machine, a.key, a.value, a.data, a.type); });
    machineArg(set);
    keyArg(set);
    set->add_option("VALUE", a.value, "The value's name")->required();
    set->add_option("DATA", a.data,
                    "The data: text; multi_sz items separated by |; dword decimal or 0x hex; "
                    "binary hex")
        ->required();
    set->add_option("--type", a.type, "sz, expand_sz, multi_sz, dword or binary")
        ->capture_default_str();
    CLI::App* del =
        command(reg, "delete", "Delete a value, or a key that has no subkeys",
                [&](sim::SimFarm* f) { regDelete(*f, a.machine, a.key, a.optionalValue); });
    machineArg(del);
    keyArg(del);
    del->add_option("VALUE", a.optionalValue, "The value to delete (the key itself without it)");
    CLI::App* keys = command(reg, "keys", "List a key's subkeys",
                             [&](sim::SimFarm* f) { regKeys(*f, a.machine, a.key, out); });
    machineArg(keys);
    keyArg(keys);
    CLI::App* values = command(reg, "values", "List a key's values: name, type, data",
                               [&](sim::SimFarm* f) { regValues(*f, a.machine, a.key, out); });
    machineArg(values);
    keyArg(values);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        app.exit(e, out, err);
        return kBadInput;
    }

    std::filesystem::path farmDir =
        a.farm.empty() ? settings.defaultFarm : std::filesystem::path(a.farm);
    try {
        if (init->parsed()) {
            initFarm(a.dir.empty() ? farmDir : std::filesystem::path(a.dir), a.from, settings, out);
            return 0;
        }
        auto farm = openFarm(farmDir);
        for (auto& [sub, action] : commands) {
            if (sub->parsed() && action) {
                action(farm.get());
            }
        }
        return 0;
    } catch (const Failure& e) {
        err << "farmsim: " << e.what() << '\n';
        return e.exitCode();
    } catch (const std::exception& e) {
        err << "farmsim: " << e.what() << '\n';
        return kBadInput;
    }
}

}  // namespace ombrel::farmsim
