#!/usr/bin/env bash
# Prepares, or removes, the directories for the disk-full and read-only tests:
#   fault_dirs.sh setup|cleanup DIR
# DIR/full: a tmpfs that is completely filled; files can be created but not written.
# DIR/readonly: a read-only tmpfs holding one valid settings file, source.bin.
# Mounting needs root; elsewhere the directories are not made and the tests skip.
set -u
action=$1
base=$2

unmount_all() {
  for dir in "$base/full" "$base/readonly"; do
    if mountpoint -q "$dir" 2>/dev/null; then
      umount "$dir" || umount -l "$dir"
    fi
  done
  rm -rf "$base"
}

case $action in
  cleanup)
    unmount_all
    ;;
  setup)
    unmount_all
    mkdir -p "$base/full" "$base/readonly"
    if ! mount -t tmpfs -o size=64k tmpfs "$base/full" 2>/dev/null ||
       ! mount -t tmpfs -o size=256k tmpfs "$base/readonly" 2>/dev/null; then
      echo "cannot mount tmpfs here (needs root): the disk-full and read-only tests will skip"
      unmount_all
      exit 0
    fi
    dd if=/dev/zero of="$base/full/filler" bs=4k 2>/dev/null
    {
      printf '\x10\x20\x30\x40\x50\x60\x2c\x01\x00\x00\xa1\xb2\xc3\xd4\xe5\xf6'
      head -c 12000 /dev/urandom
    } > "$base/readonly/source.bin"
    mount -o remount,ro "$base/readonly"
    echo "mounted a full tmpfs at $base/full and a read-only one at $base/readonly"
    ;;
  *)
    echo "usage: $0 setup|cleanup DIR" >&2
    exit 2
    ;;
esac
