# Sources of this subsystem are added to talvo_core here.
