"""What the page tests share: the tally of checks, and running them under one deadline, each
part that cannot run to its end counted as a failed check."""

import signal


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def __call__(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"PASS {what}")
        else:
            self.failed += 1
            print(f"FAIL {what}" + (f": {detail}" if detail else ""))
        return ok


def run_checks(time_limit, parts):
    """Calls each part(check) of `parts`, (name, function) pairs, within `time_limit` seconds in
    all; prints "N passed, N failed" and returns the exit status: 1 if any check failed."""
    def out_of_time(signum, frame):
        raise TimeoutError(f"the test took longer than {time_limit} s")

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(time_limit)
    check = Checks()
    for name, part in parts:
        try:
            part(check)
        except Exception as error:  # a step that could not run counts as a failed check
            check(False, f"{name} ran to its end", f"{type(error).__name__}: {error}")
    signal.alarm(0)
    print(f"{check.passed} passed, {check.failed} failed")
    return 1 if check.failed else 0
