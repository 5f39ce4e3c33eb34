/* A shared worker of the hostile page: runs the shared attempts for each page that asks. */
importScripts(location.origin + "/js/hostile-common.js");
onconnect = function (event) {
  var port = event.ports[0];
  port.onmessage = function (message) {
    Hostile.configure(message.data);
    Hostile.run(Hostile.common("shared-worker"), message.data.rounds).then(function (channels) {
      port.postMessage(channels);
    });
  };
};
