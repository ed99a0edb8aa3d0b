# Run by CPack on the staged files before it packs them. Files get their modes from
# the install rules, but the folders on their way are made under the umask of the
# one who builds: every folder of the package becomes 0755.
file(CHMOD_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
    DIRECTORY_PERMISSIONS
        OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
