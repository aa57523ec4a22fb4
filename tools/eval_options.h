/*
 * eval_options.h - geoharm-eval's command line.
 *
 *   geoharm-eval [--many] [--gradient] [--bits] [--model FILE [--epoch EPOCH]]
 *   geoharm-eval --version [--model FILE [--epoch EPOCH]]
 *   geoharm-eval --help
 *
 * Options come in any order, each at most once; --model and --epoch take
 * the next argument as their value (whatever it is: a file may be named
 * "--bits").  --epoch needs --model.  evalUsage is the text --help prints
 * and a bad command line ends with.
 */
#ifndef GEOHARM_TOOLS_EVAL_OPTIONS_H
#define GEOHARM_TOOLS_EVAL_OPTIONS_H

#include <string>
#include <vector>

namespace geoharm {

struct EvalOptions {
    bool many = false;
    bool gradient = false;
    bool bits = false;
    bool version = false;
    bool help = false;
    bool hasModel = false; /* --model given: the model of file `model` */
    bool hasEpoch = false; /* --epoch given: the epoch text `epoch` */
    std::string model;     /* the path as given (UTF-8) */
    std::string epoch;
};

/*
 * parseEvalOptions - the options of `args` (the arguments after the
 * program's name).  Returns false with the reason in `why` ("--model
 * given twice", "--epoch needs --model") for a bad command line.
 */
bool parseEvalOptions(const std::vector<std::string>& args, EvalOptions& options, std::string& why);

/* evalUsage - the usage text, `program` standing for the tool's name. */
std::string evalUsage(const char* program);

}  // namespace geoharm

#endif
