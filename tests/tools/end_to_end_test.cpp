// The built fmhost program against the toy plug-in module: loading, the
// entry calls, evaluation from -e, scripts and the prompt, and exit codes.
#include "GifPixels.h"
#include "toy_plugin_data.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path) {
    std::string content;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        std::size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, n);
        std::fclose(file);
    }
    return content;
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::size_t count(const std::string& haystack, const std::string& needle) {
    std::size_t n = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
    return n;
}

class Fmhost : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/fmhost-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) {
        const std::string full = dir_ + "/" + name;
        created_.push_back(full);
        return full;
    }

    // Runs fmhost with these arguments and this standard input, and waits.
    Outcome run(const std::vector<std::string>& arguments, const std::string& input = {}) {
        writeFile(path("stdin"), input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, path("stdin").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // Files a script writes by relative path land in the test's folder.
        posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
        std::vector<std::string> all{FMHOST_BINARY};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        Outcome result;
        const int spawned = posix_spawn(&pid, FMHOST_BINARY, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0);
        if (spawned != 0) return result;
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status)) << "fmhost did not exit normally (signal " << WTERMSIG(status) << ")";
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readFile(path("stdout"));
        result.err = readFile(path("stderr"));
        return result;
    }

    std::string dir_;
    std::vector<std::string> created_;
};

// ---- loading --------------------------------------------------------------------

TEST_F(Fmhost, MissingPluginFileIsALoadError) {
    const std::string missing = dir_ + "/absent.fmx";
    const Outcome r = run({missing, "-e", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("fmhost: cannot load plug-in '" + missing + "': ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("No such file"), std::string::npos) << r.err;
}

TEST_F(Fmhost, AFileThatIsNoSharedObjectIsALoadError) {
    const std::string fake = path("fake.fmx");
    writeFile(fake, "this is text, not a module\n");
    const Outcome r = run({fake});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.rfind("fmhost: cannot load plug-in '" + fake + "': ", 0), 0u) << r.err;
}

TEST_F(Fmhost, AWindowsPluginIsALoadErrorThatNamesItsHost) {
    for (const auto& [machine, width] : {std::pair<std::string, std::string>{"\x4C\x01", "32-bit"}, {"\x64\x86", "64-bit"}}) {
        // Headers enough to tell a Windows DLL and its machine.
        std::string pe(0x48, '\0');
        pe.replace(0, 2, "MZ");
        pe[0x3C] = 0x40;
        pe.replace(0x40, 6, std::string("PE\0\0", 4) + machine);
        const std::string file = path("windows.fmx");
        writeFile(file, pe);
        const Outcome r = run({file, "-e", "1"});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("\nfmhost: it is a plug-in for " + width + " Windows"), std::string::npos) << r.err;
    }
}

TEST_F(Fmhost, ASharedObjectWithoutTheEntryPointIsALoadError) {
    const Outcome r = run({NO_ENTRY_MODULE, "-e", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, std::string("fmhost: cannot load plug-in '") + NO_ENTRY_MODULE +
                         "': the file has no FMExternCallProc export\n");
}

TEST_F(Fmhost, ABareFileNameIsAPathNotALibrarySearch) {
    // Outcome from the toy's own folder would find it; from elsewhere a bare
    // name must not be looked up on the library path.
    const Outcome r = run({"toy_plugin.fmx", "-e", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("cannot load plug-in 'toy_plugin.fmx'"), std::string::npos) << r.err;
}

// ---- start-up and the banner --------------------------------------------------------

TEST_F(Fmhost, RefusedHostVersionsExitWithThreeAndNoShutdown) {
    for (const std::string version : {"49", "256", "-1", "-32768"}) {
        const Outcome r = run({"--host-version", version, TOY_PLUGIN, "-e", "1"});
        EXPECT_EQ(r.exitCode, 3) << version;
        EXPECT_EQ(r.out, "") << version;
        EXPECT_EQ(r.err, "toy: start-up " + version + "\nfmhost: the plug-in refused host version " + version +
                             " (answer -1)\n");
    }
}

TEST_F(Fmhost, AcceptedHostVersionsAtTheEdges) {
    for (const std::string version : {"50", "255"}) {
        const Outcome r = run({"-q", "--host-version", version, TOY_PLUGIN, "-e", "\"ran\""});
        EXPECT_EQ(r.exitCode, 0) << version;
        EXPECT_EQ(r.out, "ran\n");
        EXPECT_EQ(r.err, "toy: start-up " + version + "\ntoy: shutdown\n");
    }
}

TEST_F(Fmhost, DefaultVersionModuleHandleAndBanner) {
    // The toy answers start-up with -2 unless the block carries the handle
    // the host's loader has for it, so getting this far checks the handle.
    const Outcome r = run({TOY_PLUGIN, "-e", "\"done\""});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "toy: start-up 60\ntoy: shutdown\n");
    EXPECT_EQ(r.out,
              "Toy Plug-in\n"
              "  Answers a host's calls for its tests.\n"
              "  Second line.\n"
              "options: TOYP1nnYnnn\n"
              "functions (3):\n"
              "  Toy_Echo( text {; more} )                    [1..2]\n"
              "  Toy_Picture( fileName )                      [0..1]\n"
              "  Toy_Fail( kind )                             [1..1]\n"
              "host functions:\n"
              "  Export( container ; path {; streamType} )    [2..3]\n"
              "\"done\" \xE2\x86\x92 done\n");
}

TEST_F(Fmhost, PreferencesAreSentOnceBetweenStartupAndShutdown) {
    const Outcome r = run({"-q", "--preferences", TOY_PLUGIN, "-e", "1"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "toy: start-up 60\ntoy: preferences\nfmhost: the plug-in showed nothing for its preferences\n"
                     "toy: shutdown\n");
}

// ---- evaluation ----------------------------------------------------------------------

TEST_F(Fmhost, EvaluatesEachExpressionInOrder) {
    const Outcome r = run({"-q", TOY_PLUGIN, "-e", "Toy_Echo( \"a\" ; 1.50 )", "-e", "$x = toy_echo( \"b\" )", "-e",
                       "$X & \"\xC2\xB6\" & -4"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "a1.5\nb\n-4\n");
}

TEST_F(Fmhost, ErrorsOfExpressionsCarryTheirColumnAndTheRestStillRuns) {
    const Outcome r = run({"-q", TOY_PLUGIN, "-e", "Toy_Echo( 1 ; 2 ; 3 )", "-e", "\"a\" & Nope( 1 )", "-e",
                       "Toy_Fail( \"memory\" )", "-e", "Toy_Fail( \"other\" )", "-e", "Toy_Echo( \"still\" )"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "still\n");
    EXPECT_EQ(r.err,
              "toy: start-up 60\n"
              "-e[1]:1:1: error: Toy_Echo takes 1 to 2 parameters, 3 given\n"
              "-e[2]:1:7: error: unknown function 'Nope'\n"
              "-e[3]:1:1: error: host error: Toy_Fail ran out of memory (std::bad_alloc)\n"
              "-e[4]:1:1: error: host error: Toy_Fail threw an exception: toy failure\n"
              "toy: shutdown\n");
}

TEST_F(Fmhost, ScriptWithASyntaxErrorRunsNothing) {
    const std::string script = path("broken.fmcalc");
    writeFile(script,
              "# prints if anything runs\n"
              "Toy_Echo( \"first\" )\n"
              "Toy_Echo( \"x\" , \"y\" )\n"
              "Toy_Echo( \"never\n");
    const Outcome r = run({"-q", TOY_PLUGIN, script});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "toy: start-up 60\n" + script + ":3:15: error: parameters are separated by ';', not ','\n" + script +
                  ":4:11: error: unterminated text: the closing '\"' is missing on this line\n"
                  "fmhost: nothing was run because of the syntax errors above\n"
                  "toy: shutdown\n");
}

TEST_F(Fmhost, ScriptWithContinuationLinesAndComments) {
    const std::string script = path("good.fmcalc");
    writeFile(script,
              "// greet\n"
              "$who = \"world\"\n"
              "Toy_Echo( \"hello \" ;\n"
              "          $WHO )   # continued\n"
              "\n"
              "Toy_Picture( \"pic.gif\" )\n");
    const Outcome r = run({"-q", TOY_PLUGIN, script});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "hello world\n<container 3 x 2, file \"pic.gif\", streams: JPEG 5 bytes, GIFf 17 bytes>\n");
}

TEST_F(Fmhost, ExpressionsRunBeforeTheScript) {
    const std::string script = path("uses.fmcalc");
    writeFile(script, "Toy_Echo( $given )\n");
    const Outcome r = run({"-q", TOY_PLUGIN, "-e", "$given = \"from -e\"", script});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "from -e\n");
}

TEST_F(Fmhost, DashReadsTheScriptFromStdin) {
    const Outcome r = run({"-q", TOY_PLUGIN, "-"}, "Toy_Echo( \"piped\" )\nToy_Echo( 1 , 2 )\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("<stdin>:2:13: error: parameters are separated by ';', not ','\n"), std::string::npos)
        << r.err;
}

TEST_F(Fmhost, PromptReadsStdinUntilItsEndAndThenShutsDown) {
    const Outcome r = run({"-q", TOY_PLUGIN},
                      "Toy_Echo( \"p\" )\n"
                      "$v = Toy_Echo(\n"
                      "  \"q\" )\n"
                      "NoSuch\n"
                      "$V & \"!\"\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "p\nq!\n");  // stdin is no terminal: no prompt is written
    EXPECT_EQ(r.err, "toy: start-up 60\n<stdin>:4:1: error: unknown function 'NoSuch'; a text is written in quotes: \"NoSuch\"\ntoy: shutdown\n");
}

TEST_F(Fmhost, PromptWithNothingToReadStillShutsDown) {
    const Outcome r = run({"-q", TOY_PLUGIN}, "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(count(r.err, "toy: shutdown\n"), 1u);
}

TEST_F(Fmhost, ExportWritesTheContainersGifStream) {
    const std::string gif = path("sig.gif");
    const std::string jpeg = path("sig.jpg");
    const Outcome r = run({"-q", TOY_PLUGIN, "-e", "$pic = Toy_Picture", "-e", "Export( $pic ; \"" + gif + "\" )", "-e",
                       "Export( $pic ; \"" + jpeg + "\" ; \"JPEG\" )"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::to_string(toy::pictureGif().size()) + "\n" + std::to_string(toy::pictureJpeg().size()) + "\n");
    const std::string gifBytes = readFile(gif);
    EXPECT_EQ(std::vector<std::uint8_t>(gifBytes.begin(), gifBytes.end()), toy::pictureGif());
    const std::string jpegBytes = readFile(jpeg);
    EXPECT_EQ(std::vector<std::uint8_t>(jpegBytes.begin(), jpegBytes.end()), toy::pictureJpeg());
}

// ---- the command line ------------------------------------------------------------------

TEST_F(Fmhost, UsageErrorsExitWithTwo) {
    Outcome r = run({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "fmhost: no plug-in file given\nTry 'fmhost --help'.\n");
    r = run({"--host-version", "70000", TOY_PLUGIN});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.find("toy:"), std::string::npos);  // nothing was loaded
    r = run({"--bogus", TOY_PLUGIN});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "fmhost: unknown option '--bogus'\nTry 'fmhost --help'.\n");
}

TEST_F(Fmhost, UnreadableScriptExitsWithTwoBeforeLoading) {
    const std::string missing = dir_ + "/no-such-script.fmcalc";
    const Outcome r = run({TOY_PLUGIN, missing});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "fmhost: cannot read script '" + missing + "': No such file or directory\n");
}

TEST_F(Fmhost, HelpDescribesTheProgram) {
    const Outcome r = run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: fmhost [options] PLUGIN_FILE [SCRIPT_FILE]\n", 0), 0u);
    EXPECT_NE(r.out.find("Export( container ; path {; streamType} )"), std::string::npos);
}

// ---- the product plug-in ----------------------------------------------------

TEST_F(Fmhost, ProductPluginStartsWithNoError) {
    const Outcome outcome = run({"-q", ZERA_PLUGIN_FILE, "-e", "ZERA_GetLastError( \"code\" )"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "0\n");
}

// ---- captures -------------------------------------------------------------------

class FmhostCapture : public Fmhost {
protected:
    void SetUp() override {
        Fmhost::SetUp();
        // The diagnostic log lands in the test's folder.
        setenv("WIN_DRIVE_C", dir_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("WIN_DRIVE_C");
        Fmhost::TearDown();
    }
};

TEST_F(FmhostCapture, BundledExampleCapturesRendersAndSavesTheSignature) {
    const Outcome outcome = run({"-q", "--pad", CAPTURE_PAD, "--screens", "screens", ZERA_PLUGIN_FILE, EXAMPLE_SCRIPT});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\nSIG1:"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("<container 215 x 70, file \"sig.gif\", streams: GIFf "), std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\nUNSIGNED\n0\n"), std::string::npos) << "other bound data";
    EXPECT_NE(outcome.out.find("Unable to save signature image to file."), std::string::npos);
    const std::string exported = readFile(dir_ + "/sig.gif");
    const std::string saved = readFile(dir_ + "/signature.gif");
    ASSERT_GT(exported.size(), 100u);
    const GifSize size = decode(std::vector<std::uint8_t>(exported.begin(), exported.end()));
    EXPECT_EQ(size.width, 215);
    EXPECT_EQ(size.height, 70);
    EXPECT_EQ(saved, exported) << "the file and the container hold the same image";
    EXPECT_GT(readFile(dir_ + "/stored.gif").size(), 100u);
    EXPECT_EQ(readFile(dir_ + "/screens/screen-001.png").substr(1, 3), "PNG");
    EXPECT_NE(readFile(dir_ + "/PenviraLog.txt").find("\"DoModal()\" returned a value of 1\r\n"), std::string::npos);
}

TEST_F(FmhostCapture, TheCapturedSignatureRendersOnlyWithItsOwnBoundData) {
    writeFile(path("sign.pad"), "stroke 40,30 60,50 80,30 100,50\nstroke 40,50 100,30\ntouch OK\n");
    const Outcome outcome =
        run({"-q", "--pad", "sign.pad", ZERA_PLUGIN_FILE, "-e", "$sig = ZERA_CaptureSignature( \"Order 7\" )", "-e",
             "Export( ZERA_RenderSigFromString( $sig ; \"Order 7\" ) ; \"mine.gif\" )", "-e",
             "ZERA_RenderSigFromString( $sig ; \"Order 8\" )", "-e", "ZERA_GetLastError( \"code\" )"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    const std::string gif = readFile(dir_ + "/mine.gif");
    ASSERT_GT(gif.size(), 100u);
    EXPECT_EQ(outcome.out, std::to_string(gif.size()) + "\nUNSIGNED\n0\n");
    // Two strokes a few pixels wide across most of the picture.
    const GifSize size = decode(std::vector<std::uint8_t>(gif.begin(), gif.end()));
    EXPECT_EQ(size.width, 215);
    EXPECT_GT(size.darkPixels, 400);
    EXPECT_LT(size.darkPixels, 215 * 70 / 4);
}

TEST_F(FmhostCapture, OnePadScriptServesCapturesInTurn) {
    writeFile(path("two.pad"), "click OK\nclick Cancel\n");
    const Outcome outcome = run({"-q", "--pad", "two.pad", ZERA_PLUGIN_FILE, "-e", "ZERA_CaptureSignature( \"a\" )",
                                 "-e", "ZERA_CaptureSignature( \"b\" )", "-e", "ZERA_CaptureSignature( \"c\" )"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "UNSIGNED\n\n\n") << "the last capture has no input left and is cancelled";
    EXPECT_EQ(outcome.err, "fmhost: the pad script 'two.pad' has no input left: the dialog was closed as by its "
                           "close box\n");
}

TEST_F(FmhostCapture, ACaptureWithoutPadInputIsCancelledWithANoteAndEachValueFollowsItsCalculation) {
    const Outcome outcome = run({ZERA_PLUGIN_FILE, "-e", "ZERA_SetTabletMode( 6 )", "-e", "ZERA_CaptureSignature( \"a\" )"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\nZERA_SetTabletMode( 6 ) \xE2\x86\x92 0\nZERA_CaptureSignature( \"a\" ) \xE2\x86\x92\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.err, "fmhost: no pad input: the dialog was closed as by its close box; give what the signer "
                           "does with --pad SCRIPT (docs/pad-script.md)\n");
}

TEST_F(FmhostCapture, ABadPadScriptIsAUsageErrorNamingItsLineAndColumn) {
    writeFile(path("bad.pad"), "stroke 1,30 2,30\nsign here\n");
    const Outcome outcome = run({"-q", "--pad", "bad.pad", ZERA_PLUGIN_FILE, "-e", "1"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "fmhost: pad script bad.pad: line 2, column 1: unknown command 'sign' (expected stroke, "
                           "touch, wait, click, key or close)\n");
    const Outcome missing = run({"-q", "--pad", "absent.pad", ZERA_PLUGIN_FILE, "-e", "1"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot open the pad script"), std::string::npos) << missing.err;
}

TEST_F(FmhostCapture, AScreensFolderThatCannotBeMadeIsAUsageError) {
    writeFile(path("file"), "");
    const Outcome outcome = run({"-q", "--screens", "file/screens", ZERA_PLUGIN_FILE, "-e", "1"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("cannot make the screens folder 'file/screens'"), std::string::npos) << outcome.err;
}

TEST_F(Fmhost, WithoutTheControlRenderingFailsToLoadTheLibrary) {
    const Outcome outcome =
        run({"-q", "--no-control", ZERA_PLUGIN_FILE, "-e", "ZERA_RenderSigFromString( \"x\" ; \"y\" )", "-e",
             "ZERA_GetLastError( \"code\" )", "-e", "ZERA_GetLastError"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "UNSIGNED\n-200\nLibrary failed to load\n");
}

TEST_F(Fmhost, AMissingControlLibraryIsAUsageError) {
    const Outcome outcome = run({"-q", "--control", "/no/such/libsigplus.so", ZERA_PLUGIN_FILE, "-e", "1"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("no control library"), std::string::npos) << outcome.err;
}

// A damaged copy is refused before the loader maps what the file lacks.
TEST_F(Fmhost, PluginAndControlFilesCutShortAreUsageErrors) {
    const std::string plugin = readFile(ZERA_PLUGIN_FILE);
    const std::string control = readFile(SIGPLUS_LIBRARY);
    for (const std::size_t kib : {1u, 4u, 16u, 64u}) {
        const std::string cut = path("cut-" + std::to_string(kib) + ".so");
        writeFile(cut, plugin.substr(0, kib * 1024));
        const Outcome load = run({"-q", "--no-control", cut, "-e", "1"});
        EXPECT_EQ(load.exitCode, 2) << kib << " KiB";
        EXPECT_NE(load.err.find("cannot load plug-in '" + cut + "': the file is damaged or cut short"),
                  std::string::npos) << load.err;
        writeFile(cut, control.substr(0, kib * 1024));
        const Outcome use = run({"-q", "--control", cut, ZERA_PLUGIN_FILE, "-e", "ZERA_RenderSigFromString( \"x\" ; \"y\" )"});
        EXPECT_EQ(use.exitCode, 2) << kib << " KiB";
        EXPECT_NE(use.err.find("cannot use the control library '" + cut + "': the file is damaged or cut short"),
                  std::string::npos) << use.err;
    }
}

TEST_F(Fmhost, AFolderAsPadScriptIsAUsageError) {
    const Outcome outcome = run({"-q", "--pad", dir_, ZERA_PLUGIN_FILE, "-e", "ZERA_CaptureSignature( \"x\" )"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find(dir_ + ": is a folder, not a pad script"), std::string::npos) << outcome.err;
}

}  // namespace
