#!/usr/bin/env python3
"""Runs the benchmarks and prints the table; bench/run.sh builds everything first and starts
this under a virtual display with a persistent wineserver.

Every time is a median of alternating rounds (A B C, A B C, ...); output goes to a tmpfs and
the previous run's output is removed before each run; 0.1 s pause between Wine runs.
"""
import argparse
import json
import os
import re
import shlex
import statistics
import subprocess
import sys
import time
import zipfile
from pathlib import Path

WINE = os.environ.get("LUMVEX_WINE", "wine")
MB = 1e6


def windows(path):
    """A Unix path as Wine's Z: drive sees it."""
    return "Z:" + str(path).replace("/", "\\")


def wine_cmd(exe, *args):
    return [WINE, windows(exe), *args]


def run_wine(exe, *args, check=True):
    time.sleep(0.1)
    done = subprocess.run(wine_cmd(exe, *args), stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          encoding="utf-8", errors="replace")
    fields = dict(re.findall(r"(\w+)=(\S+)", done.stdout))
    if check and done.returncode != 0:
        raise RuntimeError(f"{Path(exe).name} {' '.join(args)}: exit {done.returncode}: {done.stdout}{done.stderr}")
    return fields, done.returncode


def hyperfine_round(commands, prepare, out_json):
    """One alternating round: each command once, in order, after `prepare`; seconds each."""
    argv = ["hyperfine", "-N", "--runs", "1", "--style", "none", "--export-json", str(out_json),
            "--prepare", prepare]
    argv += [" ".join(shlex.quote(part) for part in command) for command in commands]
    subprocess.run(argv, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    results = json.loads(Path(out_json).read_text())["results"]
    return [r["times"][0] for r in results]


def archive_facts(path):
    with zipfile.ZipFile(path) as z:
        infos = z.infolist()
    return {"entries": len(infos), "bytes": sum(i.file_size for i in infos),
            "packed": sum(i.compress_size for i in infos), "size": Path(path).stat().st_size}


def tree_facts(root):
    files = [p for p in Path(root).rglob("*") if p.is_file()]
    return len(files), sum(p.stat().st_size for p in files)


class Table:
    def __init__(self):
        self.rows = []

    def section(self, title):
        self.rows.append(("#", title))

    def row(self, measure, value, goal="", verdict=""):
        self.rows.append((measure, value, goal, verdict))

    def note(self, text):
        self.rows.append(("!", text))

    def render(self):
        width = max(len(r[0]) for r in self.rows if r[0] not in "#!")
        vwidth = 20
        lines = []
        for r in self.rows:
            if r[0] == "#":
                lines.append(f"\n== {r[1]}")
            elif r[0] == "!":
                lines.append(f"   note: {r[1]}")
            else:
                measure, value, goal, verdict = r
                tail = f"  goal {goal:<10} {verdict}" if goal else ""
                lines.append(f"   {measure:<{width}}  {value:>{vwidth}}{tail}")
        return "\n".join(lines)


def verdict(value, limit):
    return "met" if value <= limit else "MISSED"


def fmt_ms(seconds):
    return f"{seconds * 1000:.0f} ms"


# ---- issue 4: extraction ------------------------------------------------------------------

def extraction(table, args, label, archive):
    work = Path(args.work) / "out"
    out_a, out_b = work / "a", work / "b"
    facts = archive_facts(archive)
    # Once, untimed: both extractors write the same files, and the control saw no failure.
    subprocess.run(["rm", "-rf", str(work)], check=True)
    fields, _ = run_wine(args.bin / "extract_bench.exe", windows(archive), windows(out_a))
    peak_a = int(fields["peak_ws"])
    subprocess.run(["unzip", "-q", "-o", str(archive), "-d", str(out_b)], check=True)
    if tree_facts(out_a) != tree_facts(out_b):
        raise RuntimeError(f"extract_archive and unzip disagree on {archive}: {tree_facts(out_a)} {tree_facts(out_b)}")
    floor_fields, _ = run_wine(args.bin / "inflate_floor.exe", windows(archive))
    if int(floor_fields["bytes"]) != facts["bytes"]:
        raise RuntimeError("the inflate floor did not inflate every byte")

    commands = [wine_cmd(args.bin / "extract_bench.exe", windows(archive), windows(out_a)),
                ["unzip", "-q", "-o", str(archive), "-d", str(out_b)],
                wine_cmd(args.bin / "inflate_floor.exe", windows(archive))]
    prepare = f"rm -rf {shlex.quote(str(work))}; sleep 0.1"
    rounds = [hyperfine_round(commands, prepare, Path(args.work) / "round.json") for _ in range(args.rounds)]
    subprocess.run(["rm", "-rf", str(work)], check=True)
    a, b, c = (statistics.median(r[i] for r in rounds) for i in range(3))

    table.section(f"Extraction, {label}: {facts['entries']} entries, {facts['bytes'] / MB:.1f} MB, "
                  f"{facts['bytes'] / facts['packed']:.2f}:1 ({args.rounds} rounds)")
    mbs = lambda s: f"{fmt_ms(s)}  {facts['bytes'] / MB / s:6.1f} MB/s"
    table.row("(a) extract_archive under Wine", mbs(a))
    table.row("(b) Info-ZIP unzip -q -o, native", mbs(b))
    table.row("(c) minizip inflate to memory under Wine", mbs(c))
    table.row("a/b", f"{a / b:.2f}", "<= 1.0", verdict(a / b, 1.0))
    table.row("a/c", f"{a / c:.2f}")
    table.row("peak working set of (a)", f"{peak_a / MB:.1f} MB", "< 16 MB", verdict(peak_a, 16e6 - 1))
    return {"a": a, "b": b, "c": c, "peak": peak_a}


# ---- issue 6: the installer against NSIS ----------------------------------------------------

NSIS_DIR = "C:\\NSIS软件\\Lumvex工具14"


def nsis_script(target, out_exe, files_dir, with_files=True):
    lines = ["Unicode true", f"Target {target}", 'Name "Lumvex"', f'OutFile "{out_exe}"',
             f'InstallDir "{NSIS_DIR}"', "RequestExecutionLevel user", "Section", '  SetOutPath "$INSTDIR"']
    if with_files:
        lines.append(f'  File /r "{files_dir}/*"')
    lines += ['  CreateShortcut "$DESKTOP\\Lumvex工具14.lnk" "$INSTDIR\\Lumvex工具14.exe"', "SectionEnd"]
    return "\ufeff" + "\n".join(lines) + "\n"


def unpack_with_gbk_names(archive, into):
    subprocess.run(["rm", "-rf", str(into)], check=True)
    with zipfile.ZipFile(archive) as z:
        for info in z.infolist():
            name = info.filename if info.flag_bits & 0x800 else info.filename.encode("cp437").decode("gbk")
            path = Path(into) / name
            if info.is_dir():
                path.mkdir(parents=True, exist_ok=True)
            else:
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_bytes(z.read(info))


def make_nsis(args, name, archive, target, with_files=True):
    """An NSIS installer of the archive's files (with the same desktop link our installer
    makes), rebuilt only when the archive or the script changes."""
    folder = Path(args.work) / "nsis"
    folder.mkdir(parents=True, exist_ok=True)
    files = folder / f"{name}-files"
    script = nsis_script(target, f"{name}.exe", files.name, with_files)
    stamp = f"{archive_facts(archive)} {Path(archive).stat().st_mtime_ns} {script}"
    stamp_file = folder / f"{name}.stamp"
    exe = folder / f"{name}.exe"
    if exe.exists() and stamp_file.exists() and stamp_file.read_text(encoding="utf-8") == stamp:
        return exe
    unpack_with_gbk_names(archive, files)
    (folder / f"{name}.nsi").write_text(script, encoding="utf-8")
    subprocess.run(["makensis", "-V1", f"{name}.nsi"], cwd=folder, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["rm", "-rf", str(files)], check=True)
    stamp_file.write_text(stamp, encoding="utf-8")
    return exe


def installation(table, args, label, installer, archive, nsis_exe, gui):
    driver = args.bin / "install_bench.exe"
    nsis_line = f'"{windows(nsis_exe)}" /S /D={NSIS_DIR}'
    ours, peer, floor, floor_ws = [], [], [], []
    # One untimed run of each first: the first start of a program in a prefix pays for
    # loading it from disk and for Wine's caches.
    run_wine(driver, "install", windows(installer))
    run_wine(driver, "run", "C:\\NSIS软件", nsis_line)
    for _ in range(args.rounds):
        fields, _ = run_wine(driver, "install", windows(installer))
        ours.append(fields)
        fields, _ = run_wine(driver, "run", "C:\\NSIS软件", nsis_line)
        peer.append(float(fields["run_ms"]))
        if gui:
            fields, _ = run_wine(driver, "window", windows(args.bin / "gui_floor.exe"), "LumvexGuiFloor")
            floor.append(float(fields["window_ms"]))
            floor_ws.append(int(fields["peak_ws"]))
    med = lambda key: statistics.median(float(f[key]) for f in ours)
    install, window, peer_ms = med("install_ms"), med("window_ms"), statistics.median(peer)
    peak = max(int(f["peak_ws"]) for f in ours)
    facts = archive_facts(archive)
    table.section(f"Installation, {label}: {facts['entries']} entries, {facts['bytes'] / MB:.1f} MB "
                  f"({args.rounds} rounds)")
    table.row("ours: start to completion question, less user waits",
              f"{install:.0f} ms = {med('window_ms'):.0f} window + {med('notice_ms'):.0f} notice + "
              f"{med('worker_ms'):.0f} worker")
    table.row("NSIS 3.08 amd64-unicode zlib, silent (/S /D=)", f"{peer_ms:.0f} ms")
    table.row("whole installation: ours / NSIS", f"{install / peer_ms:.2f}", "<= 0.85", verdict(install / peer_ms, 0.85))
    table.row("ours: start to window shown", f"{window:.0f} ms")
    result = {"install": install, "nsis": peer_ms, "window": window, "peak": peak}
    if gui:
        gui_ms = statistics.median(floor)
        table.row("GUI floor: start to window shown", f"{gui_ms:.0f} ms")
        table.row("GUI floor: peak working set", f"{max(floor_ws) / MB:.1f} MB")
        result["gui"] = gui_ms
    return result


def window_ratio(table, window_ms, gui_ms):
    table.row("start to window: ours / GUI floor", f"{window_ms / gui_ms:.2f}", "<= 1.4",
              verdict(window_ms / gui_ms, 1.4))


# ---- issue 6, size ---------------------------------------------------------------------------

def map_breakdown(map_path):
    """Bytes of each input's sections in the linked image, grouped by what they are."""
    groups, members = {}, {}
    pending = None
    section_line = re.compile(r"^ (\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
    text = Path(map_path).read_text(errors="replace")
    # Only what was linked: the list of sections that --gc-sections dropped comes first.
    text = text[text.find("Linker script and memory map"):]
    for line in text.splitlines():
        if line.startswith(" .") and len(line.split()) == 1:
            pending = line.strip()
            continue
        if pending and line.startswith("                "):
            line = " " + pending + " " + line.strip()
        pending = None
        m = section_line.match(line)
        if not m or m.group(1).startswith((".bss", ".debug", ".stab")) or "(size before relaxing)" in line:
            continue
        size, source = int(m.group(2), 16), m.group(3)
        if m.group(1).startswith(".rsrc") or "payload_archive" in source or "finish_picture" in source \
                or "pictures.S" in source:
            group = "payload, pictures, icon (not counted)"
        elif "liblumvex_core.a" in source:
            member = re.search(r"\((.*)\)", source).group(1)
            group = "ours (lumvex_core)"
        elif "libjpeg" in source:
            group = "libjpeg (JPEG decoding)"
        elif "libminizip" in source:
            group = "minizip"
        elif "/libz.a" in source:
            group = "zlib"
        elif "libstdc++" in source or "libsupc++" in source:
            group = "libstdc++"
        elif "CMakeFiles" in source:
            group = "ours (entry, build constants)"
        else:
            group = "C runtime, libgcc, winpthread, import stubs"
        groups[group] = groups.get(group, 0) + size
        if "not counted" not in group:
            member = re.sub(r"^.*/", "", source)
            members[member] = members.get(member, 0) + size
    return groups, members


def size(table, args):
    i686 = Path(args.i686_build)
    exe = i686 / "installer.exe"
    repo = Path(args.repo)
    embedded = {"payload": (i686 / "demo_payload.zip").stat().st_size,
                "pictures": sum(p.stat().st_size for p in (repo / "assets/pictures").iterdir()),
                "icon": (repo / "assets/icon/program.ico").stat().st_size}
    ours = exe.stat().st_size - sum(embedded.values())
    nsis_full = make_nsis(args, "size-x86-unicode", i686 / "demo_payload.zip", "x86-unicode")
    nsis_empty = make_nsis(args, "size-x86-unicode-empty", i686 / "demo_payload.zip", "x86-unicode", False)
    peer = nsis_empty.stat().st_size
    table.section("Size of the 32-bit (i686) installer, demo payload")
    table.row("installer.exe", f"{exe.stat().st_size:,} B")
    table.row("less payload, pictures, icon", f"{ours:,} B  (" +
              ", ".join(f"{k} {v:,}" for k, v in embedded.items()) + ")")
    table.row("NSIS 3.08 x86-unicode zlib, same script", f"{nsis_full.stat().st_size:,} B")
    table.row("NSIS less payload (same script, no files)", f"{peer:,} B")
    table.row("size: ours / NSIS", f"{ours / peer:.2f}", "<= 2.0", verdict(ours / peer, 2.0))
    groups, members = map_breakdown(i686 / "bench" / "installer.map")
    total = sum(v for k, v in groups.items() if "not counted" not in k)
    table.note(f"what takes the space (linker map of the same build unstripped, {total:,} B of section data "
               "besides payload, pictures and icon):")
    for name, value in sorted(groups.items(), key=lambda kv: -kv[1]):
        if "not counted" not in name:
            table.note(f"  {value:>9,} B  {name}")
    table.note("largest single inputs:")
    for name, value in sorted(members.items(), key=lambda kv: -kv[1])[:8]:
        table.note(f"  {value:>9,} B  {name}")
    return {"ours": ours, "peer": peer}


# ---- main ---------------------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--bin", required=True, type=Path, help="the bench programs' folder")
    parser.add_argument("--build", required=True, type=Path, help="the build holding both installers")
    parser.add_argument("--i686-build", required=True)
    parser.add_argument("--repo", required=True)
    parser.add_argument("--large", required=True, help="the generated archive")
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()

    table = Table()
    load = os.getloadavg()
    started = time.time()
    demo = args.build / "demo_payload.zip"
    large_installer = args.build / "installer.exe"  # built with PAYLOAD_ZIP=the generated archive
    demo_installer = args.bin / "demo_installer.exe"

    extraction(table, args, "generated archive", args.large)
    extraction(table, args, "demo payload", demo)

    nsis_demo = make_nsis(args, "peer-amd64-unicode", demo, "amd64-unicode")
    nsis_large = make_nsis(args, "peer-large-amd64-unicode", args.large, "amd64-unicode")
    small = installation(table, args, "demo payload", demo_installer, demo, nsis_demo, gui=True)
    window_ratio(table, small["window"], small["gui"])
    table.row("peak working set of ours", f"{small['peak'] / MB:.1f} MB")
    large = installation(table, args, "generated payload (PAYLOAD_ZIP)", large_installer, args.large, nsis_large,
                         gui=False)
    window_ratio(table, large["window"], small["gui"])
    table.row("peak working set of ours", f"{large['peak'] / MB:.1f} MB", "< 16 MB",
              verdict(large["peak"], 16e6 - 1))

    floor, _ = run_wine(args.bin / "console_floor.exe", "ws")
    console = [float(run_wine(args.bin / "install_bench.exe", "run", "C:\\NSIS软件",
                              windows(args.bin / "console_floor.exe"))[0]["run_ms"]) for _ in range(args.rounds)]
    table.section("Floors under this Wine")
    table.row("console program: start to exit", f"{statistics.median(console):.0f} ms")
    table.row("console program: peak working set", f"{int(floor['peak_ws']) / MB:.1f} MB")

    # The named peer is a 32-bit program: say whether it can run here at all.
    x86 = make_nsis(args, "peer-x86-unicode", demo, "x86-unicode")
    fields, code = run_wine(args.bin / "install_bench.exe", "run", "C:\\NSIS软件",
                            f'"{windows(x86)}" /S /D={NSIS_DIR}', check=False)
    table.section("The 32-bit NSIS installer (the named peer)")
    if code == 0:
        table.row("NSIS x86-unicode, silent", f"{fields['run_ms']} ms")
    else:
        table.note(f"cannot run here: CreateProcess fails ({fields.get('error', '?')}, code {fields.get('code', '?')}); "
                   "this Wine is 64-bit only, so the NSIS figures above are its amd64-unicode build")

    size(table, args)
    table.note(f"load average at start {load[0]:.1f} {load[1]:.1f} {load[2]:.1f}, at end "
               f"{os.getloadavg()[0]:.1f}; {time.time() - started:.0f} s of measuring")
    print(table.render())


if __name__ == "__main__":
    sys.exit(main())
