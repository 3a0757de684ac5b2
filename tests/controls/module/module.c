/* A module that carries nothing but a version resource for the tests. */
int VersionModuleMarker(void) {
    return 0;
}
