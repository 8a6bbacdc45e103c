#include "core/LongFit.h"

#include "core/Form.h"
#include "draw/RunError.h"
#include "stats/TailFit.h"
#include "stats/TailFitNumerics.h"

void RunLongFit(Form& f, const std::function<void(const TailFitControl&)>& work, const std::string& command) {
    try {
        if (f.runLongFit)
            f.runLongFit(work);
        else
            work({});
    } catch (const FitCancelled&) {
        std::string message(command);
        throw RunError(message.append(" cancelled; the picture and the text are as they were"));
    }
}
