// Taking qrt's own arguments apart from the runtime's options; the usage text.
#include "tools/qrt/qrt_args.h"

#include <cstring>
#include <string>

namespace rt::qrt {

QrtArgs QrtParseArgs(int argc, const char* const* argv) {
    QrtArgs a;
    a.runtimeArgs.push_back(argc > 0 && argv[0] ? argv[0] : "qrt");
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i] ? argv[i] : "";
        if (std::strcmp(arg, "-e") == 0) {
            // A -e at the end would otherwise leave qrt waiting on standard input.
            if (i + 1 >= argc) a.misused = true;
            else a.expressions.emplace_back(argv[++i]);
        } else if (std::strcmp(arg, "--transfer") == 0) {
            // MODE, TARGET and BLOCK follow; BLOCK may be empty but must be there.
            if (i + 3 >= argc) {
                a.misused = true;
                break;
            }
            a.transfer = true;
            a.transferMode = argv[++i];
            a.transferTarget = argv[++i];
            a.transferBlock = argv[++i];
        } else if (std::strcmp(arg, "--lang") == 0) {
            std::string lang = i + 1 < argc && argv[i + 1] ? argv[++i] : "";
            for (char& c : lang)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            if (lang != "es" && lang != "en" && lang != "fr" && lang != "de" && lang != "it") a.misused = true;
            else a.lang = lang;
        } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "/?") == 0) {
            a.help = true;
        } else {
            a.runtimeArgs.push_back(arg);
        }
    }
    return a;
}

const char* QrtUsage() {
    return "usage: qrt [-e EXPRESSION]... [--lang XX] [RUNTIME OPTION]...\n"
           "       qrt --transfer MODE TARGET BLOCK [--lang XX] [RUNTIME OPTION]...\n"
           "       qrt --import standard|external FILE [--table NAME] [--map 'COLUMN=FIELD,...']\n"
           "                   [RUNTIME OPTION]...\n"
           "       qrt --help\n"
           "\n"
           "Evaluates expressions of the runtime's expression language in one runtime, so that\n"
           "assignments carry from one expression to the next: each -e EXPRESSION in order or,\n"
           "without -e, each line of standard input.\n"
           "\n"
           "  -e EXPRESSION    evaluate EXPRESSION (repeatable)\n"
           "  --transfer MODE TARGET BLOCK\n"
           "                   run one transfer without questions: MODE (52 exports delimited, 821\n"
           "                   and 309 import), TARGET a file or stdout/stdin, BLOCK its parameters\n"
           "                   (FILE=contactos LIMITS$=\"'A','M'\" COND$=\"...\", or ''); the outcome\n"
           "                   goes to standard error; exit 0 when records moved or were counted\n"
           "  --import standard|external FILE\n"
           "                   import FILE into the data file NAME (default contactos) in two passes,\n"
           "                   updating existing keys, then adding the rest; an external import takes\n"
           "                   the map given with --map (remembered in config.txt) or the one\n"
           "                   config.txt holds for FILE's header\n"
           "  --lang XX        the run's language: es (the built-in Spanish), en, fr, de or it\n"
           "                   (the program's language file of that language); without it, a\n"
           "                   language file KV_LANG_XX.MSJ in the working folder, else Spanish\n"
           "  -h, --help, /?   show this text and exit\n"
           "\n"
           "Every other argument is a runtime option, as on the desktop: /TRACE:n, /APNAME:XX\n"
           "(loads the dictionary XXDICC.DAT), /DPATH:'folder', /USER:name, /PASSW:secret, ...\n"
           "\n"
           "Output, one line per expression: a number as its canonical text (zero as 0), a text\n"
           "between single quotes, \"status N: TEXT\" for an outcome of 1 to 127, \"error N: TEXT\"\n"
           "for an error (128 and up). Bytes below 0x20 are written as \\r, \\n, \\t or \\xHH.\n"
           "Texts cross the terminal as UTF-8. An expression of more than 65,535 bytes is refused\n"
           "with an error line and the next one runs.\n"
           "\n"
           "Exit status: 0 when no expression ended in an error, 1 when one did, 2 when the\n"
           "arguments were misused or the runtime did not start.\n";
}

}  // namespace rt::qrt
