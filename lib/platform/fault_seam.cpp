#include "platform/fault_seam.h"

#ifdef TESSEL_FAULT_INJECTION

#include <mutex>
#include <optional>

namespace tessel::platform {

namespace {

struct Seam {
    std::mutex mutex;
    std::optional<FaultPlan> plan;
    int passed = 0;
    int struck = 0;
};

Seam& seam() {
    static Seam instance;
    return instance;
}

bool matches(const FaultPlan& plan, FileOperation operation, std::string_view path) {
    return plan.operation == operation &&
           (plan.nameContains.empty() || path.find(plan.nameContains) != std::string_view::npos);
}

// Counts a matching operation; true when the fault strikes it.
bool strikes(Seam& s) {
    if (s.passed < s.plan->skip) {
        ++s.passed;
        return false;
    }
    if (s.plan->times > 0 && s.struck >= s.plan->times) return false;
    ++s.struck;
    return true;
}

}  // namespace

void injectFault(const FaultPlan& plan) {
    Seam& s = seam();
    std::lock_guard lock(s.mutex);
    s.plan = plan;
    s.passed = 0;
    s.struck = 0;
}

void clearFaults() {
    Seam& s = seam();
    std::lock_guard lock(s.mutex);
    s.plan.reset();
}

int faultsStruck() {
    Seam& s = seam();
    std::lock_guard lock(s.mutex);
    return s.struck;
}

bool faultStrikes(FileOperation operation, std::string_view path) {
    Seam& s = seam();
    std::lock_guard lock(s.mutex);
    if (!s.plan || operation == FileOperation::Write || !matches(*s.plan, operation, path)) {
        return false;
    }
    return strikes(s);
}

std::uint64_t writeAllowance(std::string_view path) {
    Seam& s = seam();
    std::lock_guard lock(s.mutex);
    if (!s.plan || !matches(*s.plan, FileOperation::Write, path) || !strikes(s)) {
        return kUnlimitedWrites;
    }
    return s.plan->writeLimit;
}

}  // namespace tessel::platform

#endif
