#!/bin/sh
# Mounts (or unmounts) a 128 KB tmpfs for the disk-full tests. Never fails: the tests skip themselves
# when the folder is not a small volume (no root, no tmpfs).
# Usage: full_disk.sh mount|unmount FOLDER
action=$1
folder=$2
case "$action" in
    mount)
        mkdir -p "$folder"
        if ! mountpoint -q "$folder"; then
            mount -t tmpfs -o size=128k,mode=0777 tmpfs "$folder" 2>/dev/null ||
                echo "full_disk.sh: cannot mount a tmpfs at $folder; the disk-full tests will skip"
        fi
        ;;
    unmount)
        mountpoint -q "$folder" && umount "$folder" 2>/dev/null
        ;;
esac
exit 0
