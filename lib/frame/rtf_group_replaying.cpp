// Groups the RTF reader replays: a group read before from the same state is
// taken from what its first reading left (rtf_group_replays.h) instead of
// being read again, and a group read afresh is recorded for that.
#include "frame/rtf_group_state.h"

namespace tessel::frame {

using namespace rtf_bytes;
using platform::CodePageCodec;

// A group is replayed, and recorded to be replayed, only where nothing is
// pending that its reading would take up or that would outlast it.
bool RtfReader::replayable() const {
    return !continuesSomething() && !skipUnknown_ && hexHigh_ < 0 && codingValid_ &&
           stack_.size() < kMaxGroupDepth;
}

RtfReader::ReplayEntry RtfReader::replayEntry() const {
    return {group_, line_.codePage(), documentCodec_, defaultFont_, codingEpoch_};
}

namespace {

// Lookups are judged in windows of this many: a window with fewer replays
// than an eighth of them makes the reader read this many groups afresh,
// without lookup or recording, which cost more than they save where groups
// do not come back.
constexpr std::uint32_t kReplayWindow = 256;
constexpr std::uint32_t kReplayPause = 4096;

}  // namespace

void RtfReader::countReplayTry(bool replayed) {
    if (replayed) ++replayHits_;
    if (++replayTries_ < kReplayWindow) return;
    if (replayHits_ < kReplayWindow / 8) replayPause_ = kReplayPause;
    replayTries_ = 0;
    replayHits_ = 0;
}

// At a "{": replays the group when its bytes were read before from the same
// state (true: the group is passed), or starts recording it (false: it is
// read as usual).
[[gnu::noinline]] bool RtfReader::replayGroup() {
    if (recordingDepth_ != kNotRecording || !replayable()) return false;
    if (replayPause_ != 0) {
        --replayPause_;
        return false;
    }
    const char* data = input_.data() + pos_;
    std::uint64_t hash = 0;
    const std::size_t length = GroupReplays::extent(data, end_ - pos_, hash);
    if (length == 0) return false;
    const ReplayEntry entry = replayEntry();
    const GroupReplays::Group* group = replays_.find(data, length, hash, entry);
    countReplayTry(group != nullptr);
    if (group == nullptr) {
        startRecording(length, hash, entry);
        return false;
    }
    applyReplay(*group);
    pos_ += length;
    return true;
}

void RtfReader::startRecording(std::size_t length, std::uint64_t hash, const ReplayEntry& entry) {
    recording_.start = pos_;
    recording_.length = length;
    recording_.hash = hash;
    recording_.entry = entry;
    recording_.lineBase = line_.size();
    recording_.loads = loads_;
    recording_.outsideEffects = outsideEffects_;
    recording_.changeCount = 0;
    recording_.spoiled = false;
    recordingDepth_ = stack_.size();
}

void RtfReader::recordStyleChange(std::int32_t style) {
    GroupRecording& recording = recording_;
    if (recording.changeCount == GroupReplays::kMaxStyleChanges ||
        line_.size() < recording.lineBase) {
        recording.spoiled = true;
        return;
    }
    recording.changes[recording.changeCount++] = {
        style, static_cast<std::uint32_t>(line_.size() - recording.lineBase)};
}

// At the end of the group being recorded: keeps it when its reading left
// nothing behind but its text and style changes, and ended where its bytes
// end, with its bytes still in the buffer.
void RtfReader::finishRecording() {
    recordingDepth_ = kNotRecording;
    const GroupRecording& recording = recording_;
    if (recording.spoiled || loads_ != recording.loads ||
        outsideEffects_ != recording.outsideEffects || pos_ != recording.start + recording.length ||
        line_.size() < recording.lineBase || !replayable() || !(replayEntry() == recording.entry)) {
        return;
    }
    replays_.keep(input_.data() + recording.start, recording.length, recording.hash,
                  recording.entry, line_.data() + recording.lineBase,
                  line_.size() - recording.lineBase, recording.changes, recording.changeCount);
}

}  // namespace tessel::frame
