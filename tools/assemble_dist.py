#!/usr/bin/env python3
"""Assembles dist/Favorites/ (the installer package) and dist/Favorites.zip.

Copies only what changed, so a second ./build.sh is quick, and rewrites the
zip only when the folder's content differs from the last zip."""
import argparse
import hashlib
import os
import shutil
import sys
import zipfile


def copy_if_changed(src, dst):
    if os.path.exists(dst):
        s, d = os.stat(src), os.stat(dst)
        if s.st_size == d.st_size and int(s.st_mtime) <= int(d.st_mtime):
            return False
    shutil.copy2(src, dst)
    return True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--root", required=True)
    ap.add_argument("--dist", required=True)
    a = ap.parse_args()

    package_dir = os.path.join(a.dist, "Favorites")
    os.makedirs(package_dir, exist_ok=True)

    wanted = {}
    dll = os.path.join(a.build, "plugin", "favorites.dll")
    if not os.path.exists(dll):
        sys.exit("favorites.dll was not built")
    wanted["favorites.dll"] = dll
    installer = os.path.join(a.build, "installer", "tolvane.exe")
    if os.path.exists(installer):
        wanted["tolvane.exe"] = installer
    shipped = os.path.join(a.root, "resources", "package")
    for name in sorted(os.listdir(shipped)):
        path = os.path.join(shipped, name)
        if os.path.isfile(path):
            wanted[name] = path

    for name, src in wanted.items():
        copy_if_changed(src, os.path.join(package_dir, name))
    for name in os.listdir(package_dir):
        if name not in wanted:
            os.remove(os.path.join(package_dir, name))

    digest = hashlib.sha256()
    for name in sorted(wanted):
        digest.update(name.encode())
        with open(os.path.join(package_dir, name), "rb") as f:
            digest.update(f.read())
    stamp = os.path.join(a.dist, ".zip-content")
    zip_path = os.path.join(a.dist, "Favorites.zip")
    if os.path.exists(zip_path) and os.path.exists(stamp) and open(stamp).read() == digest.hexdigest():
        return
    tmp = zip_path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in sorted(wanted):
            z.write(os.path.join(package_dir, name), "Favorites/" + name)
    os.replace(tmp, zip_path)
    with open(stamp, "w") as f:
        f.write(digest.hexdigest())


if __name__ == "__main__":
    main()
