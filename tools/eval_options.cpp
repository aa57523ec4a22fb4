/*
 * eval_options.cpp - geoharm-eval's command line (eval_options.h).
 */
#include "eval_options.h"

#include "geoharm/gravity_model_types.h"

namespace geoharm {

bool parseEvalOptions(const std::vector<std::string>& args, EvalOptions& options, std::string& why) {
    options = EvalOptions();
    for (std::size_t i = 0; i < args.size(); i++) {
        const std::string& arg = args[i];
        bool* flag = arg == "--many"       ? &options.many
                     : arg == "--gradient" ? &options.gradient
                     : arg == "--bits"     ? &options.bits
                     : arg == "--version"  ? &options.version
                     : arg == "--help"     ? &options.help
                     : arg == "--model"    ? &options.hasModel
                     : arg == "--epoch"    ? &options.hasEpoch
                                           : nullptr;
        if (flag == nullptr) {
            why = "unknown option '" + arg + "'";
            return false;
        }
        if (*flag) {
            why = arg + " given twice";
            return false;
        }
        *flag = true;
        if (flag == &options.hasModel || flag == &options.hasEpoch) {
            if (i + 1 == args.size()) {
                why = arg + (flag == &options.hasModel ? " needs a file" : " needs an epoch");
                return false;
            }
            (flag == &options.hasModel ? options.model : options.epoch) = args[++i];
        }
    }
    if (options.hasEpoch && !options.hasModel) {
        why = "--epoch needs --model (the compiled-in model has no epoch)";
        return false;
    }
    return true;
}

std::string evalUsage(const char* program) {
    const std::string p = program;
    return "usage: " + p + " [--many] [--gradient] [--bits] [--model FILE [--epoch EPOCH]] < records\n" +
           "       " + p + " --version [--model FILE [--epoch EPOCH]]\n" +
           "       " + p + " --help\n" +
           "  reads lines 'x y z N M' (metres; degree and order in -128..127, any int with --model)\n"
           "  writes 'a_x a_y a_z' (m/s^2) for each, as %.17g\n"
           "  --many: the records of each N and M in one many-point call\n"
           "  --gradient: writes 'U a_x a_y a_z Txx Txy Txz Tyx Tyy Tyz Tzx Tzy Tzz'\n"
           "    (m^2/s^2, m/s^2, 1/s^2) instead\n"
           "  --bits: each double as the 16 hexadecimal digits of its bits\n"
           "  --model FILE: the model of an ICGEM file (formats 1.0 and 2.0, degree up to " +
           std::to_string(MAX_MODEL_DEGREE) + ")\n" +
           "    instead of the compiled-in one; FILE refused: status 2, before any record is read\n"
           "  --epoch EPOCH: the epoch of the file's time-variable terms, a decimal year (2010.5)\n"
           "    or a date yyyy-mm-dd\n"
           "  --version: the version and the vector routines this processor takes\n"
           "    (with --model: the model the file holds)\n"
           "  --help: this text\n";
}

}  // namespace geoharm
