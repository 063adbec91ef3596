#!/usr/bin/python3
"""Times wav2mp3 (the program's conversion) against the lame command-line
encoder on the same 44100 Hz stereo recording, run pair by pair.

Both sides use libmp3lame with the recording settings: VBR quality 5 with the
bit rate as minimum and maximum, high quality (-h), plain stereo, copyright
and original bits, VBR header, no ReplayGain analysis (the library does none),
so both write byte-identical files. The conversion only adds a chunk loop around
the same library, so the time ratio should stay close to 1.

usage: bench-encoder.py [--bin DIR] [--seconds N] [--runs N] [--kbps K]
"""
import argparse
import os
import resource
import statistics
import struct
import subprocess
import sys
import tempfile
import time


def make_wav(path, seconds, rate=44100, channels=2):
    # sox makes the sound; the program's recordings have a 46-byte header
    raw = path + ".raw"
    subprocess.run(["sox", "-n", "-r", str(rate), "-c", str(channels), "-b", "16",
                    "-e", "signed", "-t", "raw", raw, "synth", str(seconds),
                    "sine", "220-880", "pinknoise", "tremolo", "3", "40",
                    "vol", "0.5"], check=True)
    with open(raw, "rb") as f:
        data = f.read()
    os.remove(raw)
    align = channels * 2
    header = (b"RIFF" + struct.pack("<I", len(data) + 38) + b"WAVEfmt " +
              struct.pack("<IHHIIHHH", 18, 1, channels, rate, rate * align, align, 16, 0) +
              b"data" + struct.pack("<I", len(data)))
    assert len(header) == 46
    with open(path, "wb") as f:
        f.write(header)
        f.write(data)


def timed(cmd):
    """Wall time and CPU time (user + system) of one run. On a busy machine
    the CPU time is the steadier figure."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", default=os.path.join(here, "..", "..", "build", "bin"))
    ap.add_argument("--seconds", type=int, default=240)
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--kbps", type=int, default=128)
    args = ap.parse_args()

    wav2mp3 = os.path.join(args.bin, "wav2mp3")
    if not os.access(wav2mp3, os.X_OK):
        sys.exit(f"wav2mp3 not found in {args.bin} (build the wav2mp3 target)")

    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "in.wav")
        make_wav(wav, args.seconds)
        ours_mp3 = os.path.join(tmp, "ours.mp3")
        lame_mp3 = os.path.join(tmp, "lame.mp3")
        k = str(args.kbps)
        ours = [wav2mp3, wav, ours_mp3, "44100", "2", k]
        lame = ["lame", "--quiet", "--nohist", "--noreplaygain", "-h", "-V", "5", "-b", k, "-B", k,
                "-m", "s", "-c", wav, lame_mp3]

        timed(ours)  # warm-up: page cache and library load
        timed(lame)
        wall = {"ours": [], "lame": [], "ratio": []}
        cpu = {"ours": [], "lame": [], "ratio": []}
        for i in range(args.runs):
            # alternate who goes first so that drift of the machine cancels out
            if i % 2 == 0:
                a, b = timed(ours), timed(lame)
            else:
                b, a = timed(lame), timed(ours)
            for table, x, y in ((wall, a[0], b[0]), (cpu, a[1], b[1])):
                table["ours"].append(x)
                table["lame"].append(y)
                table["ratio"].append(x / y)
            print(f"run {i + 1}: wall wav2mp3 {a[0]:.3f} s  lame {b[0]:.3f} s  "
                  f"ratio {a[0] / b[0]:.3f} | cpu wav2mp3 {a[1]:.3f} s  lame {b[1]:.3f} s  "
                  f"ratio {a[1] / b[1]:.3f}")

        print(f"recording: {args.seconds} s, 44100 Hz stereo, {args.kbps} kbit/s, "
              f"{args.runs} pairs")
        for name, table in (("wall", wall), ("cpu", cpu)):
            r = table["ratio"]
            print(f"{name}: wav2mp3 median {statistics.median(table['ours']):.3f} s, "
                  f"lame median {statistics.median(table['lame']):.3f} s, "
                  f"ratio median {statistics.median(r):.3f} min {min(r):.3f} max {max(r):.3f}")
        with open(ours_mp3, "rb") as f1, open(lame_mp3, "rb") as f2:
            same = f1.read() == f2.read()
        print(f"output bytes: wav2mp3 {os.path.getsize(ours_mp3)}  "
              f"lame {os.path.getsize(lame_mp3)}  {'identical' if same else 'DIFFERENT'}")


if __name__ == "__main__":
    main()
