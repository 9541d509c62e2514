// The real-time rules of the audio path: processReplacing neither allocates, nor takes a lock,
// nor makes a system call, across parameter changes, notes and sample-rate changes between the
// calls. Allocations are counted by the allocation hook, locks by an interposed
// pthread_mutex_lock, and system calls are trapped by a seccomp filter in a forked child. Each
// rule is shown able to fail by a workload that breaks it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <random>
#include <vector>

#include "AllocationHook.h"
#include "Ferrowin.h"

namespace {

std::atomic<bool> countingLocks{false};
std::atomic<long> locks{0};

using MutexLock = int (*)(pthread_mutex_t*);
MutexLock nextMutexLock = nullptr;

}  // namespace

// Every pthread_mutex_lock in the test program, std::mutex included, comes through here.
extern "C" __attribute__((visibility("default"))) int pthread_mutex_lock(pthread_mutex_t* mutex) {
  if (nextMutexLock == nullptr)
    nextMutexLock = reinterpret_cast<MutexLock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  if (countingLocks.load(std::memory_order_relaxed)) locks.fetch_add(1);
  return nextMutexLock(mutex);
}

namespace {

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Marks the stretch whose allocations and locks count.
struct Marks {
  long allocations = 0;
  long locks = 0;

  void begin() {
    beginCountingAllocations();
    countingLocks = true;
  }
  void end() {
    countingLocks = false;
    allocations += endCountingAllocations();
    locks += ::locks.exchange(0);
  }
};

// Ends the process at once: the sanitizers' _exit would make system calls of its own first.
// (Not declared noreturn: AddressSanitizer asks for the signal stack before such calls.)
void exitNow(int code) { syscall(SYS_exit_group, code); }

// Runs `body` in a forked child under a filter that traps every system call but the ones that
// end the process; returns the number of the first call trapped, 0 when there was none, -1 when
// the filter cannot be installed here.
long firstSystemCall(const std::function<void()>& body) {
  auto* shared = static_cast<volatile long*>(
      mmap(nullptr, sizeof(long), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  *shared = 0;
  const pid_t child = fork();
  if (child == 0) {
    static volatile long* result;
    result = shared;
    struct sigaction action {};
    action.sa_flags = SA_SIGINFO;
    action.sa_sigaction = [](int, siginfo_t* info, void*) {
      *result = info->si_syscall;
      exitNow(3);
    };
    sigaction(SIGSYS, &action, nullptr);
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_rt_sigreturn, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_exit_group, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    // Raw calls: the sanitizers' prctl does more after installing the filter.
    if (syscall(SYS_prctl, PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) != 0)
      exitNow(2);
    body();
    exitNow(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  const long call = *shared;
  munmap(const_cast<long*>(shared), sizeof(long));
  if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return -1;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : call;
}

// The effect driven as a host drives it: between the calls parameters change and notes arrive.
class HostedEffect {
 public:
  HostedEffect() : effect(host), record(effect.getAeffect()), buffers(4, std::vector<float>(512)) {
    setRate(44100.0f);
  }

  void setRate(float rateHz) {
    dispatch(effMainsChanged, 0);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, rateHz);
    dispatch(effMainsChanged, 1);
  }

  // `blocks` processReplacing calls; only those calls are inside the marks.
  void run(int blocks, Marks* marks) {
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.byteSize = sizeof note - 8;
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&note);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int block = 0; block < blocks; ++block) {
      for (int i = 0; i < 3; ++i)
        record->setParameter(record, static_cast<VstInt32>(random() % 18), value(random));
      note.midiData[0] = static_cast<char>(block % 2 ? 0x80 : 0x90);
      note.midiData[1] = static_cast<char>(36 + random() % 60);
      note.midiData[2] = 100;
      dispatch(effProcessEvents, 0, &list);
      for (std::vector<float>& buffer : buffers)
        for (float& sample : buffer) sample = value(random) - 0.5f;
      float* inputs[2] = {buffers[0].data(), buffers[1].data()};
      float* outputs[2] = {buffers[2].data(), buffers[3].data()};
      const auto frames = static_cast<VstInt32>(1 + random() % 512);
      if (marks) marks->begin();
      record->processReplacing(record, inputs, outputs, frames);
      if (marks) marks->end();
    }
  }

 private:
  void dispatch(VstInt32 opcode, VstIntPtr value, void* ptr = nullptr) {
    record->dispatcher(record, opcode, 0, value, ptr, 0.0f);
  }

  Ferrowin effect;
  AEffect* record;
  std::vector<std::vector<float>> buffers;
  std::mt19937 random{7};
};

struct Workload {
  const char* what;
  std::function<void(HostedEffect&, Marks*)> run;
  bool allocates;
  bool locks;
  bool callsSystem;
};

std::mutex someMutex;

const Workload kWorkloads[] = {
    {"the effect's processReplacing", [](HostedEffect& e, Marks* m) { e.run(100, m); }, false,
     false, false},
    {"an allocation",
     [](HostedEffect&, Marks* m) {
       m->begin();
       volatile float* scratch = new float[64];
       scratch[0] = 1.0f;
       delete[] scratch;
       m->end();
     },
     true, false, false},
    {"a lock",
     [](HostedEffect&, Marks* m) {
       m->begin();
       someMutex.lock();
       someMutex.unlock();
       m->end();
     },
     false, true, false},
    {"a system call",
     [](HostedEffect&, Marks* m) {
       m->begin();
       syscall(SYS_getppid);
       m->end();
     },
     false, false, true},
};

TEST(RealTimeRules, HoldForProcessReplacingAndAreSeenWhenBroken) {
  ASSERT_TRUE(allocationHookAvailable());
  for (const Workload& workload : kWorkloads) {
    SCOPED_TRACE(workload.what);
    HostedEffect effect;
    Marks marks;
    long systemCall = 0;
    for (float rateHz : {44100.0f, 96000.0f, 22050.0f, 192000.0f}) {
      effect.setRate(rateHz);
      workload.run(effect, &marks);
      Marks unused;
      if (systemCall == 0) systemCall = firstSystemCall([&] { workload.run(effect, &unused); });
    }
    if (systemCall < 0) GTEST_SKIP() << "seccomp filters cannot be installed here";
    EXPECT_EQ(marks.allocations > 0, workload.allocates) << marks.allocations << " allocations";
    EXPECT_EQ(marks.locks > 0, workload.locks) << marks.locks << " locks";
    EXPECT_EQ(systemCall != 0, workload.callsSystem) << "system call " << systemCall;
  }
}

}  // namespace
