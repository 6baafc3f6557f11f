"""What the three modes of killtest.sh share: their arguments, file reading and the orphans."""
import ctypes, hashlib, os, random, sys


def arguments():
    """n, a seeded random source, the work folder and albuminfo, from the command line."""
    return int(sys.argv[1]), random.Random(int(sys.argv[2])), int(sys.argv[2]), sys.argv[3], sys.argv[4]


def sha(data):
    return hashlib.sha256(data).hexdigest()


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def adopt_orphans():
    """The writer finishes in a child of its own; when albuminfo is killed that child is orphaned
    and lands here, so each file can be checked once it has finished."""
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)


def reap_orphans():
    while True:
        try:
            os.waitpid(-1, 0)
        except ChildProcessError:
            return
